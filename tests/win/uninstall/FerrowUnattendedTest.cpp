// FERROW.EXE started with /S, /REMOVESHARED and /LOG as deployment tools start it: no box may
// appear, and its exit code, the machine's state and its run log are checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/FilePath.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "tests/win/testdlls/FileInUse.h"
#include "tests/win/undo/UndoTestSupport.h"
#include "tests/win/uninstall/DialogDriver.h"
#include "tests/win/uninstall/FerrowProgramTest.h"
#include "tests/win/uninstall/UninstallLog.h"

namespace pelorin::testing {
namespace {

constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

class FerrowUnattended : public FerrowProgramTest {
protected:
    std::string runLog = root / "run log.txt";
    std::string shared = root / "Common\\common.dll";  // outside {app}, so that keeping it leaves no folder

    void SetUp() override {
        FerrowProgramTest::SetUp();
        ::CreateDirectoryA((root / "Common").c_str(), nullptr);
    }
    void TearDown() override {
        FerrowProgramTest::TearDown();
        DeleteSharedCounter(shared);
    }

    // A shared file whose last user is this application.
    void AddSharedFile() {
        WriteText(shared, "data");
        SetSharedCount(shared, 1);
        app.Changes.AddChange(ukFile, {shared, ""}, ufSharedCount);
        app.SaveLog();
    }
    // Runs FERROW.EXE with these arguments after its name; any box fails the test.
    DWORD RunWithoutBoxes(const std::string& arguments) {
        Start(arguments);
        if (::WaitForSingleObject(processHandle.get(), 30000) == WAIT_TIMEOUT) {
            const MessageBoxSeen box = WaitForMessageBox(process.dwProcessId, 1000);
            ADD_FAILURE() << "FERROW.EXE shows a box: " << box.Caption << ": " << box.Text;
            return 99;
        }
        return ExitCode();
    }
    std::string QuotedLog() const { return "\"" + app.LogPath + "\""; }
    // The run log without its time stamps, one entry or continuation line per element.
    std::vector<std::string> RunLogLines() const {
        std::vector<std::string> lines;
        std::ifstream in(runLog, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line.size() > 25 ? line.substr(25) : line);
        }
        return lines;
    }
};

// Every element of `expected` in the log, in this order, each one the start of a line.
void ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
    std::size_t at = 0;
    for (const std::string& text : expected) {
        while (at < lines.size() && lines[at].rfind(text, 0) != 0) ++at;
        EXPECT_LT(at, lines.size()) << "missing or out of order: " << text;
        if (at == lines.size()) return;
    }
}

TEST_F(FerrowUnattended, SilentRunRemovesTheApplicationAndKeepsAnUnusedSharedFile) {
    AddSharedFile();
    EXPECT_EQ(RunWithoutBoxes(QuotedLog() + " /U /S"), 0u);
    EXPECT_FALSE(app.AnythingLeft());
    EXPECT_FALSE(FileExists(app.LogPath));
    EXPECT_TRUE(FileExists(shared));
    EXPECT_FALSE(SharedCounterExists(shared));  // counted down to no user
}

TEST_F(FerrowUnattended, RemoveSharedTakesTheUnusedSharedFileToo) {
    AddSharedFile();
    // Switches in any case, with "-" as well as "/".
    EXPECT_EQ(RunWithoutBoxes("-s " + QuotedLog() + " /u /RemoveShared"), 0u);
    EXPECT_FALSE(app.AnythingLeft());
    EXPECT_FALSE(FileExists(shared));
}

// A full run with its log: the questions with their unattended answers, the records, the
// uninstaller's own file scheduled for the restart, the summary and exit code 3010.
TEST_F(FerrowUnattended, LogOfAFullSilentRunAndTheRestartCode) {
    const SavedValue pending(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations");
    AddSharedFile();
    app.Changes.AddChange(ukFile, {ferrow, ""}, 0);
    app.SaveLog();
    EXPECT_EQ(RunWithoutBoxes(QuotedLog() + " /U /S /LOG=\"" + runLog + "\""), 3010u);
    EXPECT_FALSE(app.AnythingLeft());
    EXPECT_TRUE(FileExists(shared));
    EXPECT_TRUE(FileExists(ferrow));
    ExpectInOrder(
        RunLogLines(),
        {
            "Ferrow Wizard: " + ferrow,
            "Uninstall log: " + app.LogPath,
            "Mode: unattended (/S), shared files no longer in use are kept",
            "Question: Are you sure you want to completely remove Demo Application and all of its components?",
            "Answer: Yes (unattended default)",
            "The log holds 7 records, undone newest first:",
            "file " + ferrow,
            "file " + shared + " (shared)",
            "registry key HKCU\\" + app.Key,
            "file " + app.Dir + "\\Docs\\demo.hlp",
            "file " + app.Dir + "\\demo.exe",
            "folder " + app.Dir + "\\Docs",
            "folder " + app.Dir,
            "Question: Shared file found: " + shared + " is no longer in use by any programs. Remove it?",
            "Answer: No (unattended default)",
            "Removed at the next restart: " + ferrow,
            "Summary: 0 elements left, 1 files waiting for the next restart.",
            "Report (not shown, unattended): Demo Application was successfully removed from your computer.",
            "Outcome: removed; some files are removed at the next restart",
            "Exit code: 3010",
        });
}

TEST_F(FerrowUnattended, FileInUseFailsWith1603AndTheSystemsTextInTheLog) {
    const std::string busy = app.Dir + "\\demo.exe";
    FileInUse hold(busy);
    // A value without quotes, relative to the working folder.
    EXPECT_EQ(RunWithoutBoxes(QuotedLog() + " /U /S /LOG=run.txt"), 1603u);
    runLog = root / "run.txt";
    const std::vector<std::string> lines = RunLogLines();
    ExpectInOrder(lines, {"Not removed: " + busy + " (error 32: ", "Summary: 2 elements left", "Outcome: failed",
                          "Exit code: 1603"});
    const auto failure = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind("Not removed: " + busy, 0) == 0;
    });
    ASSERT_NE(failure, lines.end());
    EXPECT_GT(failure->size(), ("Not removed: " + busy + " (error 32: )").size()) << *failure;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, app.Key));
}

TEST_F(FerrowUnattended, DamagedLogFailsWith1603AndNothingChanges) {
    {
        std::ofstream out(app.LogPath, std::ios::binary | std::ios::app);
        out << "garbage";
    }
    EXPECT_EQ(RunWithoutBoxes(QuotedLog() + " /U /S /LOG=\"" + runLog + "\""), 1603u);
    EXPECT_TRUE(app.EverythingThere());
    ExpectInOrder(RunLogLines(), {"Problem (not shown, unattended): The uninstall log cannot be used, so nothing was "
                                  "removed.",
                                  "Outcome: failed", "Exit code: 1603"});
}

TEST_F(FerrowUnattended, BadCommandLinesExitWith87AndChangeNothing) {
    EXPECT_EQ(RunWithoutBoxes(QuotedLog() + " /U /S /QUIET /LOG=\"" + runLog + "\""), 87u);
    ExpectInOrder(RunLogLines(), {"Problem (not shown, unattended): This argument is not understood: /QUIET",
                                  "Outcome: invalid command line; nothing was changed", "Exit code: 87"});
    for (const char* bad : {" /S", " /U /S /LOG=", " /U /S /LOG", " /U /S extra.log"})
        EXPECT_EQ(RunWithoutBoxes(QuotedLog() + bad), 87u) << bad;
    EXPECT_EQ(RunWithoutBoxes(QuotedLog() + " /U /S /LOG=\"" + (root / "no folder\\run.txt") + "\""), 87u);
    EXPECT_TRUE(app.EverythingThere());

    // Without /S the same mistake is explained in a box.
    Start(QuotedLog() + " /U /QUIET");
    const MessageBoxSeen box = WaitForMessageBox(process.dwProcessId, 20000);
    EXPECT_EQ(box.Caption, "Ferrow Wizard");
    EXPECT_EQ(box.Text.rfind("This argument is not understood: /QUIET\r\n\r\n", 0), 0u) << box.Text;
    ASSERT_TRUE(PressButton(box, IDOK));
    EXPECT_EQ(ExitCode(), 87u);
    EXPECT_TRUE(app.EverythingThere());
}

TEST_F(FerrowUnattended, InteractiveAnswersAreLoggedAsTheUsers) {
    Start(QuotedLog() + " /U /LOG=\"" + runLog + "\"");
    const MessageBoxSeen confirm = WaitForMessageBox(process.dwProcessId, 20000);
    ASSERT_TRUE(PressButton(confirm, IDNO));
    EXPECT_EQ(ExitCode(), 1602u);
    EXPECT_TRUE(app.EverythingThere());
    ExpectInOrder(RunLogLines(), {"Mode: interactive", "Question: Are you sure", "Answer: No (user)",
                                  "Outcome: cancelled by the user; nothing was changed", "Exit code: 1602"});
}

}  // namespace
}  // namespace pelorin::testing
