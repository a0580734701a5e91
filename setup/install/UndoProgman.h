// Undoing ukProgman records through the program manager: items are deleted, and a group
// whose record comes after its items is deleted once it has none left.
#pragma once

#include <optional>
#include <string>

#include "setup/install/DdeHandles.h"
#include "setup/install/UndoContext.h"
#include "setup/install/UndoRecord.h"

namespace pelorin {

// One conversation for the whole replay, opened at the first record that needs it and
// closed (conversation, then the service handle) when the session ends.
class TProgmanUndo {
public:
    explicit TProgmanUndo(const TDDE& dde) : dde_(dde) {}

    void Undo(TUndoContext& context, const UndoRecord& record);

private:
    HCONV Conversation();
    void DeleteGroupIfEmpty(HCONV conversation, const std::string& group);

    const TDDE& dde_;
    std::optional<DdeStringHandle> service_;
    std::optional<DdeConversation> conversation_;
    std::optional<std::string> shownGroup_;
};

}  // namespace pelorin
