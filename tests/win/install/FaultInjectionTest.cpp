// A failure at each step must leave the machine as it was: a snapshot of files, uninstall keys,
// shared counters and settings taken before the run equals the one taken after the rollback.
// Errors show the error box and the "not installed" message; Abort and cancel show nothing.
#include <gtest/gtest.h>

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/install/FileRulesShared.h"
#include "tests/win/install/EngineFixture.h"
#include "tests/win/testdlls/TestDlls.h"

namespace pelorin::testing {
namespace {

const char* const kNotInstalled =
    "Setup Wizard has not installed your software.\r\n\r\nPlease correct the problem and run Setup Wizard again.";

class FaultInjection : public EngineFixture {
protected:
    // A setup that makes every kind of change before and after the faults below. The INI file
    // and the parent of the registry key exist before: the rollback removes entries and named
    // keys, not the files and parent keys they were written into.
    void FullSetup() {
        WriteText(root / "win\\test.ini", "[Other]\r\nx=1\r\n");
        KeyHandle parent, shared;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, TestRegKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, parent.put(), nullptr);
        // The system's key of shared counters stays once a counter was written into it.
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, shared.put(),
                          nullptr);
        SetupData& setup = Desc();
        setup.Header.Flags = SetupHeader::CreateUninstall;
        setup.DirEntries.push_back({"{app}\\data"});
        AddFile(std::string(50000, 'a'), "{app}\\a.txt");
        AddFile("shared", "{app}\\data\\shared.dll", FileEntry::SharedFile);
        setup.IconEntries.push_back({"Run A", "{app}\\a.txt", "", "", "", 0});
        setup.IniEntries.push_back({"{win}\\test.ini", "Sec", "Key", "v", IniEntry::UninsDeleteEntry});
        setup.RegistryEntries.push_back(RegEntry(std::string(TestRegKey) + "\\Sub", "V", "1", RegistryEntry::vtString,
                                                 RegistryEntry::UninsDeleteKey));
        setup.UninstallDeleteEntries.push_back({"{app}\\later.dat"});
    }
    // The failure was reported with the error box and the closing message.
    void ExpectReported(const std::string& errorStart) {
        ASSERT_EQ(prompt.Errors.size(), 1u);
        EXPECT_EQ(prompt.Errors[0].rfind(errorStart, 0), 0u) << prompt.Errors[0];
        ASSERT_FALSE(prompt.Questions.empty());
        EXPECT_EQ(prompt.Questions.back().Text, kNotInstalled);
        EXPECT_EQ(prompt.Questions.back().Kind, mbError);
        EXPECT_EQ(prompt.Questions.back().Buttons, UINT(MB_OK));
    }
    void ExpectSilent() {
        EXPECT_TRUE(prompt.Errors.empty());
        for (const Asked& asked : prompt.Questions) EXPECT_NE(asked.Text, kNotInstalled);
    }
};

TEST_F(FaultInjection, DirectoryCannotBeCreated) {
    FullSetup();
    WriteText(root / "win\\blocker", "a file where a folder should be");
    Desc().DirEntries.push_back({"{win}\\blocker\\sub"});
    const std::string before = Before();
    prompt.Answers = {IDOK};
    EXPECT_FALSE(RunEngine());
    ExpectReported("Setup was unable to create the directory " + root.Path() + "\\win\\blocker");
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, RegistryKeyCannotBeWrittenAndAbort) {
    FullSetup();
    const std::uint32_t noSuchRoot = 0x80000099;
    Desc().RegistryEntries.push_back(
        RegEntry("Software\\Pelorin Tests\\Nowhere", "", "", RegistryEntry::vtNone, 0, noSuchRoot));
    const std::string before = Before();
    prompt.Answers = {IDABORT};
    EXPECT_FALSE(RunEngine());
    EXPECT_EQ(
        prompt.Questions.at(0).Text.rfind("Error creating registry key: Software\\Pelorin Tests\\Nowhere.\r\n\r\n", 0),
        0u);
    ExpectSilent();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, CorruptedDataAndAbort) {
    FullSetup();
    const FileEntry last = AddFile(std::string(3000, 'c'), "{app}\\c.txt");
    archive.Bytes()[last.DataOffset + 8] ^= 0x5A;
    const std::string before = Before();
    prompt.Answers = {IDABORT};
    EXPECT_FALSE(RunEngine(false));
    EXPECT_NE(prompt.Questions.at(0).Text.find("The Setup Wizard source file is corrupted"), std::string::npos);
    ExpectSilent();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, MissingArchiveAndAbort) {
    FullSetup();
    const std::string before = Snapshot();  // no PELORIN.DAT at all
    prompt.Answers = {IDABORT};
    EXPECT_FALSE(RunEngine(false));
    EXPECT_NE(prompt.Questions.at(0).Text.find("The source file does not exist."), std::string::npos);
    ExpectSilent();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, AbortInTheReadOnlyQuestionLeavesTheExistingFile) {
    FullSetup();
    WriteText(root / "win\\old.txt", "old");
    ::SetFileAttributesA((root / "win\\old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    AddFile("new", "{win}\\old.txt");
    const std::string before = Before();
    prompt.Answers = {IDABORT};
    EXPECT_FALSE(RunEngine());
    ExpectSilent();
    EXPECT_EQ(Snapshot(), before);
    ::SetFileAttributesA((root / "win\\old.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FaultInjection, AbortInTheRegistrationQuestion) {
    FullSetup();
    AddFile(ReadText(TestDllPath(FailingRegDll)), "{app}\\fails.dll", FileEntry::RegisterServer);
    const std::string before = Before();
    prompt.Answers = {IDABORT};
    EXPECT_FALSE(RunEngine());
    ExpectSilent();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, AbortInTheIniQuestion) {
    FullSetup();
    Desc().IniEntries.push_back({root / "no-such-folder\\x.ini", "S", "K", "V", 0});
    const std::string before = Before();
    prompt.Answers = {IDABORT};
    EXPECT_FALSE(RunEngine());
    ExpectSilent();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, CancelBetweenFilesStopsAfterTheFileInHand) {
    FullSetup();
    AddFile("third", "{app}\\third.txt");
    const std::string before = Before();
    progress.CancelAt = 1;  // confirmed while the first file was copied
    EXPECT_FALSE(RunEngine());
    EXPECT_EQ(progress.Filenames, std::vector<std::string>{Globals().AppDir + "\\a.txt"});
    ExpectSilent();
    EXPECT_TRUE(prompt.Questions.empty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(FaultInjection, CancelAtEachLaterStep) {
    FullSetup();
    const std::string before = Before();
    for (int at = 2; at <= 7; ++at) {
        progress = RecordingProgress{};
        progress.CancelAt = at;
        EXPECT_FALSE(RunEngine()) << at;
        EXPECT_EQ(Snapshot(), before) << "cancel at check " << at;
    }
    ExpectSilent();
}

TEST_F(FaultInjection, UndoLogCannotBeWritten) {
    FullSetup();
    Desc().DirEntries.push_back({"{app}\\REMOVE.LOG"});  // a folder where the log goes
    const std::string before = Before();
    prompt.Answers = {IDOK};
    EXPECT_FALSE(RunEngine());
    ASSERT_EQ(prompt.Errors.size(), 1u);
    EXPECT_EQ(Snapshot(), before);
}

// The log goes to a drive with no room left (small-drive.sh mounts it as E:): the box names the
// full disk and the rollback leaves neither the changes nor a piece of the log.
TEST_F(FaultInjection, UndoLogOnAFullDriveNamesTheFullDisk) {
    if (!SmallDriveMounted()) GTEST_SKIP() << "no small drive E: (small-drive.sh mounts one only when it runs as root)";
    const std::string folder = "E:\\pelorin-log";
    RemoveTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    FillDrive(folder + "\\filler.bin");
    // Only the log goes to {app}; the rest of the installation lands in the test's own folders.
    Globals().AppDir = folder;
    Desc().Header.Flags = SetupHeader::CreateUninstall;
    AddFile(std::string(50000, 'a'), "{win}\\a.txt");
    const std::string before = Before();
    prompt.Answers = {IDOK};
    EXPECT_FALSE(RunEngine());
    ExpectReported("Unable to write the file " + folder + "\\REMOVE.LOG\r\n\r\n" + SysErrorMessage(ERROR_DISK_FULL));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(TreeListing(folder).find("REMOVE.LOG"), std::string::npos);
    RemoveTree(folder);
}

TEST_F(FaultInjection, GroupFolderCannotBeCreated) {
    FullSetup();
    const ProgramsFolderOverride missing(root / "no-such-folder");
    const std::string before = Before();
    prompt.Answers = {IDOK};
    EXPECT_FALSE(RunEngine());
    ExpectReported("Setup was unable to create the directory " + root.Path() + "\\no-such-folder\\Test Group");
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace
}  // namespace pelorin::testing
