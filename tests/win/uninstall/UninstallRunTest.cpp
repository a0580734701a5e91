// The uninstaller's run with scripted answers: command line, confirmation, replay, removal
// of the log and of the folder it was in, leftovers, and logs that cannot be trusted.
#include <gtest/gtest.h>

#include <fstream>

#include "setup/CmnFunc.h"
#include "tests/win/testdlls/FileInUse.h"
#include "tests/win/undo/UndoTestSupport.h"
#include "tests/win/uninstall/UninstallLog.h"
#include "uninstall/Uninstall.h"

namespace pelorin::testing {
namespace {

class ScriptedUninstallPrompt : public IUninstallPrompt {
public:
    bool Confirm = true;
    bool RemoveShared = true;
    std::vector<std::string> Said;  // every message and question, in order

    void ShowError(const std::string& message) override { Said.push_back("error: " + message); }
    bool ConfirmRemoveSharedFile(const std::string& path) override {
        Said.push_back("shared: " + path);
        return RemoveShared;
    }
    bool ConfirmUninstall(const std::string& title) override {
        Said.push_back("confirm: " + title);
        return Confirm;
    }
    void ShowInformation(const std::string& text) override { Said.push_back("info: " + text); }
    void ShowProblem(const std::string& text) override { Said.push_back("problem: " + text); }
};

UninstallArgs ArgsFor(const std::string& log) { return ParseUninstallArgs("FERROW.EXE \"" + log + "\" /U"); }

TEST(UninstallArgs, LogPathAndSwitchInEitherOrder) {
    UninstallArgs a = ParseUninstallArgs("\"C:\\WINDOWS\\FERROW.EXE\" \"C:\\Program Files\\App\\REMOVE.LOG\" /U");
    EXPECT_TRUE(a.Valid);
    EXPECT_EQ(a.LogPath, "C:\\Program Files\\App\\REMOVE.LOG");
    a = ParseUninstallArgs("FERROW.EXE /u C:\\App\\REMOVE.LOG");
    EXPECT_TRUE(a.Valid);
    EXPECT_EQ(a.LogPath, "C:\\App\\REMOVE.LOG");
    for (const char* bad : {"FERROW.EXE", "FERROW.EXE /U", "FERROW.EXE C:\\A\\REMOVE.LOG", "FERROW.EXE a.log b.log /U",
                            "FERROW.EXE a.log /U /X", "FERROW.EXE \"\" /U"})
        EXPECT_FALSE(ParseUninstallArgs(bad).Valid) << bad;
}

class UninstallRun : public ::testing::Test {
protected:
    ScratchDir root;
    InstalledApp app{root.Path()};
    ScriptedUninstallPrompt prompt;
    std::string self = root / "FERROW.EXE";

    void TearDown() override { RegDeleteKeyIncludingSubkeys(HKEY_CURRENT_USER, TestKeyRoot); }
};

TEST_F(UninstallRun, ConfirmedRunRemovesEverythingWithTheLogAndItsFolder) {
    EXPECT_EQ(RunUninstall(ArgsFor(app.LogPath), prompt, self), uxRemoved);
    EXPECT_FALSE(app.AnythingLeft());
    ASSERT_EQ(prompt.Said.size(), 2u);
    EXPECT_EQ(prompt.Said[0], "confirm: Demo Application");
    EXPECT_EQ(prompt.Said[1], "info: Demo Application was successfully removed from your computer.");
}

TEST_F(UninstallRun, NoChangesNothing) {
    prompt.Confirm = false;
    EXPECT_EQ(RunUninstall(ArgsFor(app.LogPath), prompt, self), uxCancelled);
    EXPECT_TRUE(app.EverythingThere());
    EXPECT_EQ(prompt.Said.size(), 1u);
}

TEST_F(UninstallRun, DamagedOrTruncatedLogChangesNothing) {
    std::string bytes;
    {
        std::ifstream in(app.LogPath, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::vector<std::string> damaged = {bytes.substr(0, bytes.size() - 3), bytes.substr(0, 40),
                                              "zfw999bs" + bytes.substr(8), std::string()};
    for (const std::string& content : damaged) {
        {
            std::ofstream out(app.LogPath, std::ios::binary | std::ios::trunc);
            out << content;
        }
        prompt.Said.clear();
        EXPECT_EQ(RunUninstall(ArgsFor(app.LogPath), prompt, self), uxFailed);
        ASSERT_EQ(prompt.Said.size(), 1u);
        EXPECT_EQ(prompt.Said[0].rfind("problem: The uninstall log cannot be used, so nothing was removed.", 0), 0u)
            << prompt.Said[0];
        EXPECT_NE(prompt.Said[0].find(app.LogPath), std::string::npos);
        EXPECT_TRUE(app.EverythingThere());
    }
}

TEST_F(UninstallRun, MissingLogOrBadCommandLineChangesNothing) {
    EXPECT_EQ(RunUninstall(ArgsFor(root / "nowhere\\REMOVE.LOG"), prompt, self), uxFailed);
    EXPECT_EQ(RunUninstall(ParseUninstallArgs("FERROW.EXE " + app.LogPath), prompt, self), uxInvalidCommandLine);
    ASSERT_EQ(prompt.Said.size(), 2u);
    EXPECT_NE(prompt.Said[0].find("Unable to open the file"), std::string::npos);
    EXPECT_NE(prompt.Said[1].find("/U"), std::string::npos);
    EXPECT_TRUE(app.EverythingThere());
}

TEST_F(UninstallRun, FileInUseIsListedAsLeftOver) {
    const std::string busy = app.Dir + "\\demo.exe";
    FileInUse hold(busy);
    EXPECT_EQ(RunUninstall(ArgsFor(app.LogPath), prompt, self), uxFailed);
    ASSERT_EQ(prompt.Said.size(), 2u);
    const std::string& report = prompt.Said[1];
    EXPECT_EQ(report.rfind("problem: Demo Application was removed, but some elements could not be removed.", 0), 0u);
    EXPECT_NE(report.find(busy + " (error 32)"), std::string::npos) << report;
    EXPECT_NE(report.find(app.Dir + " ("), std::string::npos) << report;  // still holds demo.exe
    EXPECT_FALSE(FileExists(app.LogPath));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, app.Key));
}

TEST_F(UninstallRun, OwnProgramAsALastUserSharedFileWaitsForTheRestart) {
    WriteText(self, "data");
    SetSharedCount(self, 1);
    app.Changes.AddChange(ukFile, {self, ""}, ufSharedCount);
    app.SaveLog();
    EXPECT_EQ(RunUninstall(ArgsFor(app.LogPath), prompt, self), uxRestartNeeded);
    ASSERT_EQ(prompt.Said.size(), 3u);
    EXPECT_EQ(prompt.Said[1], "shared: " + self);
    EXPECT_NE(prompt.Said[2].find("will be removed when you restart your computer:\r\n\r\n" + self), std::string::npos);
    EXPECT_TRUE(FileExists(self));
    EXPECT_FALSE(SharedCounterExists(self));
}

TEST_F(UninstallRun, OwnProgramStillUsedByOthersIsOnlyCountedDown) {
    WriteText(self, "data");
    SetSharedCount(self, 3);
    app.Changes.AddChange(ukFile, {self, ""}, ufSharedCount);
    app.SaveLog();
    EXPECT_EQ(RunUninstall(ArgsFor(app.LogPath), prompt, self), uxRemoved);
    EXPECT_EQ(prompt.Said.size(), 2u);
    EXPECT_TRUE(FileExists(self));
    std::string bytes;
    ReadSharedCounter(self, bytes);
    EXPECT_EQ(bytes, std::string("\2\0\0\0", 4));
    DeleteSharedCounter(self);
}

}  // namespace
}  // namespace pelorin::testing
