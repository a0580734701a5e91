// Undoing ukProgman records: show the group (once per run of records of the same group),
// then delete the item, or ask the program manager whether the group is empty and delete it.
#include "setup/install/UndoProgman.h"

#include "setup/install/ProgmanCommands.h"
#include "setup/install/UndoProgmanText.h"

namespace pelorin {

HCONV TProgmanUndo::Conversation() {
    if (!service_) service_.emplace(dde_, dde_.CreateStringHandle(ProgmanService));
    if (!conversation_) conversation_.emplace(dde_, dde_.Connect(service_->get(), service_->get()));
    return conversation_->get();
}

void TProgmanUndo::DeleteGroupIfEmpty(HCONV conversation, const std::string& group) {
    const DdeStringHandle item(dde_, dde_.CreateStringHandle(group));
    const DdeRequestData answer(dde_, dde_.Request(conversation, item.get(), CF_TEXT));
    if (ProgmanGroupIsEmpty(TextOf(answer.get()))) dde_.Execute(conversation, DeleteGroupCommand(group), false);
}

void TProgmanUndo::Undo(TUndoContext& context, const UndoRecord& record) {
    const std::string group = record.String(0);
    const std::string item = record.String(1);
    const HCONV conversation = Conversation();
    if (!shownGroup_ || *shownGroup_ != group) {
        if (!dde_.Execute(conversation, ShowGroupCommand(group), true)) {
            context.Fail(ukProgman, group, "the program manager cannot show the group");
            return;
        }
        shownGroup_ = group;
    }
    if (!item.empty())
        dde_.Execute(conversation, DeleteItemCommand(item), false);
    else
        DeleteGroupIfEmpty(conversation, group);
}

}  // namespace pelorin
