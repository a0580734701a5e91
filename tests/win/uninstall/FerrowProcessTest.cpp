// FERROW.EXE as the uninstall entry starts it: its message boxes are read and answered from
// this process, and its exit code and the machine's state are checked afterwards.
#include <gtest/gtest.h>

#include <fstream>

#include "core/FilePath.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "tests/win/undo/UndoTestSupport.h"
#include "tests/win/uninstall/DialogDriver.h"
#include "tests/win/uninstall/FerrowProgramTest.h"
#include "tests/win/uninstall/UninstallLog.h"

namespace pelorin::testing {
namespace {

class FerrowProcess : public FerrowProgramTest {
protected:
    // As the uninstall entry starts it.
    void Start() { FerrowProgramTest::Start("\"" + app.LogPath + "\" /U"); }
    MessageBoxSeen NextBox() {
        const MessageBoxSeen box = WaitForMessageBox(process.dwProcessId, 20000);
        EXPECT_TRUE(box.Window) << "no message box appeared";
        EXPECT_EQ(box.Caption, "Ferrow Wizard");
        return box;
    }
};

TEST_F(FerrowProcess, ConfirmReplayAndRemoveTheLog) {
    Start();
    const MessageBoxSeen confirm = NextBox();
    EXPECT_EQ(confirm.Text, "Are you sure you want to completely remove Demo Application and all of its components?");
    ASSERT_TRUE(PressButton(confirm, IDYES));
    const MessageBoxSeen done = NextBox();
    EXPECT_EQ(done.Text, "Demo Application was successfully removed from your computer.");
    ASSERT_TRUE(PressButton(done, IDOK));
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_FALSE(app.AnythingLeft());
    EXPECT_TRUE(FileExists(ferrow));
}

TEST_F(FerrowProcess, AnsweringNoLeavesEverything) {
    Start();
    ASSERT_TRUE(PressButton(NextBox(), IDNO));
    EXPECT_EQ(ExitCode(), 1602u);
    EXPECT_TRUE(app.EverythingThere());
}

TEST_F(FerrowProcess, DamagedLogIsReportedAndNothingChanges) {
    {
        std::ofstream out(app.LogPath, std::ios::binary | std::ios::app);
        out << "garbage";  // bytes after the last record that make no record
    }
    Start();
    const MessageBoxSeen problem = NextBox();
    EXPECT_EQ(problem.Text.rfind("The uninstall log cannot be used, so nothing was removed.", 0), 0u) << problem.Text;
    EXPECT_NE(problem.Text.find("is damaged: record 6 is cut short."), std::string::npos) << problem.Text;
    ASSERT_TRUE(PressButton(problem, IDOK));
    EXPECT_EQ(ExitCode(), 1603u);
    EXPECT_TRUE(app.EverythingThere());
}

TEST_F(FerrowProcess, SharedFileQuestionComesFromTheRunningProgram) {
    const std::string shared = app.Dir + "\\common.dll";
    WriteText(shared, "data");
    SetSharedCount(shared, 1);
    app.Changes.AddChange(ukFile, {shared, ""}, ufSharedCount);
    app.SaveLog();
    Start();
    ASSERT_TRUE(PressButton(NextBox(), IDYES));
    const MessageBoxSeen question = WaitForMessageBox(process.dwProcessId, 20000);
    EXPECT_EQ(question.Caption, "Shared file found");
    EXPECT_NE(question.Text.find("\r\n\r\n" + shared + "\r\n\r\n"), std::string::npos) << question.Text;
    ASSERT_TRUE(PressButton(question, IDNO));
    const MessageBoxSeen done = NextBox();
    EXPECT_NE(done.Text.find("could not be removed"), std::string::npos) << done.Text;  // the folder keeps it
    ASSERT_TRUE(PressButton(done, IDOK));
    EXPECT_EQ(ExitCode(), 1603u);
    EXPECT_TRUE(FileExists(shared));
    EXPECT_FALSE(FileExists(app.LogPath));
}

}  // namespace
}  // namespace pelorin::testing
