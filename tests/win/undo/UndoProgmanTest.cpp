// Program groups through the program manager of the test session (the desktop's DDE
// server "PROGMAN"): items go first, then the group once it is empty.
#include <gtest/gtest.h>

#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/install/DdeHandles.h"
#include "setup/install/ProgmanCommands.h"
#include "setup/install/Undo.h"
#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {
namespace {

void Progman(const std::vector<std::string>& commands) {
    const TDDE dde;
    const DdeStringHandle service(dde, dde.CreateStringHandle(ProgmanService));
    const DdeConversation conversation(dde, dde.Connect(service.get(), service.get()));
    for (const std::string& command : commands) dde.Execute(conversation.get(), command, false);
}

std::string GroupFolder(const std::string& group) { return AddBackslash(GetProgramsFolder(false, false)) + group; }

// The desktop's program manager of the test session deletes items but does not answer
// the group request, so the group stays and that failure is reported like any other.
TEST(UndoProgman, ItemsGoFirstAndAnUnansweredGroupRequestIsReported) {
    const std::string group = "Pelorin Undo Test";
    ProgmanItem item;
    item.Name = "Notes";
    item.File = "notepad.exe";
    Progman({CreateGroupCommand(group), ShowGroupCommand(group), AddItemCommand(item)});
    ASSERT_TRUE(FileExists(GroupFolder(group) + "\\Notes.lnk"));

    TUndoChanges changes;
    changes.AddChange(ukProgman, {group, ""}, 0);
    changes.AddChange(ukProgman, {group, "Notes"}, 0);
    ScriptedPrompt prompt;
    const ReplayResult result = Replay(changes, false, prompt);
    EXPECT_FALSE(FileExists(GroupFolder(group) + "\\Notes.lnk"));
    EXPECT_FALSE(result.Ok);
    ASSERT_EQ(prompt.Errors.size(), 1u);
    EXPECT_EQ(prompt.Errors[0].rfind("DDE: Error during request transaction (code: ", 0), 0u) << prompt.Errors[0];
    Progman({DeleteGroupCommand(group)});
    EXPECT_FALSE(DirExists(GroupFolder(group)));
}

}  // namespace
}  // namespace pelorin::testing
