// InstallFile for new files and failures: data, time stamps, records and progress; a missing or
// corrupted archive, a file in use, the undo-log entry, shared counting and self-registration.
#include <gtest/gtest.h>

#include "setup/install/FileRulesShared.h"
#include "tests/win/install-file/InstallFileFixture.h"
#include "tests/win/testdlls/FileInUse.h"
#include "tests/win/testdlls/TestDlls.h"

namespace pelorin::testing {
namespace {

const char* const kSkipHint =
    "Click Retry to try again, Ignore to skip this file (not recommended), or Abort to cancel installation.";

class InstallNewFile : public InstallFileFixture {};

TEST_F(InstallNewFile, WritesDataTimeRecordAndProgressWithoutLeavingTemporaryFiles) {
    const FileEntry entry = Add(std::string(100000, 'x') + "end", EntryFor("{app}\\sub\\file.txt"));
    Run(entry);
    EXPECT_EQ(ReadText(dest), std::string(100000, 'x') + "end");
    EXPECT_EQ(LastWriteTime(dest), entry.FileTime);
    EXPECT_EQ(SubListing(), "file.txt 100003\n");
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].kind, ukFile);
    EXPECT_EQ(changes.Records()[0].String(0), dest);
    EXPECT_EQ(changes.Records()[0].String(1), "");
    EXPECT_EQ(changes.Records()[0].value, 0u);
    EXPECT_EQ(progress.Pos, entry.CompressedSize);
    EXPECT_EQ(progress.Filenames, std::vector<std::string>{dest});
    EXPECT_TRUE(prompt.Questions.empty());
}

TEST_F(InstallNewFile, FlagsDecideTheRecord) {
    Run(Add("a", EntryFor("{app}\\sub\\a.txt", FileEntry::NoUninstall)));
    EXPECT_TRUE(changes.Records().empty());
    Run(Add("b", EntryFor("{app}\\sub\\b.txt", FileEntry::NoEffect)));
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].value, 0u);
}

TEST_F(InstallNewFile, UndoLogEntryGoesToLogPathOrNowhere) {
    const FileEntry entry = Add("log", EntryFor("{app}\\ignored.txt", FileEntry::IsUndoLog));
    Run(entry);  // no undo log kept: nothing to install, the bar still moves
    EXPECT_EQ(TreeListing(root.Path() + "\\app"), "");
    EXPECT_EQ(progress.Pos, entry.CompressedSize);
    context.LogPath = root / "app\\REMOVE.LOG";
    Run(entry);
    EXPECT_EQ(ReadText(context.LogPath), "log");
    EXPECT_FALSE(FileExists(root / "app\\ignored.txt"));
    EXPECT_TRUE(changes.Records().empty());
}

class InstallSourceMissing : public InstallFileFixture {};

TEST_F(InstallSourceMissing, IgnoreDropsTheFileWithoutAnyTrace) {
    const FileEntry entry =
        Add("data", EntryFor("{app}\\sub\\file.txt", FileEntry::SharedFile | FileEntry::RegisterServer));
    prompt.Answers = {IDIGNORE};
    InstallFile(entry, context);  // archive never written
    ASSERT_EQ(prompt.Questions.size(), 1u);
    const std::string source = root / "src\\PELORIN.DAT";
    EXPECT_EQ(prompt.Questions[0].Text, source + "\r\n\r\nThe source file does not exist.\r\n\r\n" + kSkipHint);
    EXPECT_EQ(prompt.Questions[0].Kind, mbWarning);
    EXPECT_EQ(prompt.Questions[0].Buttons, UINT(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2));
    std::string bytes;
    EXPECT_EQ(ReadSharedCounter(dest, bytes), 0u);
    EXPECT_TRUE(changes.Records().empty());
    EXPECT_FALSE(FileExists(dest));
    EXPECT_EQ(progress.Pos, entry.CompressedSize);
}

TEST_F(InstallSourceMissing, RetryFindsTheArchiveOnceItIsThereAndAbortUnwinds) {
    const FileEntry entry = Add("data", EntryFor("{app}\\sub\\file.txt"));
    prompt.Answers = {IDRETRY, IDABORT};
    EXPECT_THROW(InstallFile(entry, context), EAbort);
    EXPECT_EQ(prompt.Questions.size(), 2u);
    prompt.Answers = {IDRETRY};
    prompt.Questions.clear();
    // The archive appears while the question is open.
    struct LateArchive : ScriptedInstallPrompt {
        ArchiveBuilder* archive = nullptr;
        int MsgBox(const std::string& t, const std::string& c, MsgBoxKind k, UINT b) override {
            archive->Write();
            return ScriptedInstallPrompt::MsgBox(t, c, k, b);
        }
    } late;
    late.archive = &archive;
    late.Answers = {IDRETRY};
    TInstallContext lateContext{progress, late, changes, "", root / "src"};
    InstallFile(entry, lateContext);
    EXPECT_EQ(ReadText(dest), "data");
}

class InstallCorrupted : public InstallFileFixture {
protected:
    void ExpectCorruptedAndUntouched(const FileEntry& entry) {
        WriteText(dest, "old");
        prompt.Answers = {IDIGNORE};
        Run(entry);
        ASSERT_EQ(prompt.Questions.size(), 1u);
        EXPECT_EQ(prompt.Questions[0].Text, std::string("An error occured while trying to copy a file.\r\n\r\n") +
                                                "The Setup Wizard source file is corrupted\r\n\n\n" + kSkipHint);
        EXPECT_EQ(prompt.Questions[0].Caption, dest);
        EXPECT_EQ(ReadText(dest), "old");
        EXPECT_EQ(SubListing(), "file.txt 3\n");
        EXPECT_TRUE(changes.Records().empty());
        EXPECT_EQ(progress.Pos, entry.CompressedSize);
    }
    void SetUp() override {
        InstallFileFixture::SetUp();
        ::CreateDirectoryA((root / "app").c_str(), nullptr);
        ::CreateDirectoryA((root / "app\\sub").c_str(), nullptr);
    }
};

TEST_F(InstallCorrupted, WrongMagic) {
    const FileEntry entry = Add(std::string(5000, 'm'), EntryFor("{app}\\sub\\file.txt", 0, cmAlwaysReplace));
    archive.Bytes()[0] = 'Z';
    ExpectCorruptedAndUntouched(entry);
}

TEST_F(InstallCorrupted, DamagedStream) {
    const FileEntry entry = Add(std::string(5000, 'm'), EntryFor("{app}\\sub\\file.txt", 0, cmAlwaysReplace));
    archive.Bytes()[10] ^= 0x55;
    archive.Bytes()[11] ^= 0x55;
    ExpectCorruptedAndUntouched(entry);
}

TEST_F(InstallCorrupted, WrongSizeOrChecksumInTheEntry) {
    FileEntry entry = Add("payload", EntryFor("{app}\\sub\\file.txt", 0, cmAlwaysReplace));
    entry.UncompressedSize += 1;
    ExpectCorruptedAndUntouched(entry);
    prompt.Questions.clear();
    progress.Pos = 0;
    entry.UncompressedSize -= 1;
    entry.Adler32 ^= 1;
    ExpectCorruptedAndUntouched(entry);
}

TEST_F(InstallCorrupted, OffsetBeyondTheArchive) {
    FileEntry entry = Add("payload", EntryFor("{app}\\sub\\file.txt", 0, cmAlwaysReplace));
    entry.DataOffset = 1 << 20;
    ExpectCorruptedAndUntouched(entry);
}

TEST_F(InstallCorrupted, RetryPutsTheBarBackBeforeTheFile) {
    progress.Pos = 500;
    FileEntry entry = Add(std::string(200000, 'r'), EntryFor("{app}\\sub\\file.txt"));
    entry.Adler32 ^= 1;
    std::vector<std::int64_t> seen;
    struct Watching : ScriptedInstallPrompt {
        RecordingProgress* progress = nullptr;
        std::vector<std::int64_t>* seen = nullptr;
        int MsgBox(const std::string& t, const std::string& c, MsgBoxKind k, UINT b) override {
            seen->push_back(progress->Pos);
            return ScriptedInstallPrompt::MsgBox(t, c, k, b);
        }
    } watching;
    watching.progress = &progress;
    watching.seen = &seen;
    watching.Answers = {IDRETRY, IDIGNORE};
    TInstallContext watched{progress, watching, changes, "", root / "src"};
    archive.Write();
    InstallFile(entry, watched);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{500, 500}));
    EXPECT_EQ(progress.HighestPos, 500 + std::int64_t(entry.CompressedSize));
    EXPECT_EQ(progress.Pos, 500 + std::int64_t(entry.CompressedSize));
    EXPECT_EQ(SubListing(), "");
}

class InstallInUse : public InstallFileFixture {
protected:
    void SetUp() override {
        InstallFileFixture::SetUp();
        ::CreateDirectoryA((root / "app").c_str(), nullptr);
        ::CreateDirectoryA((root / "app\\sub").c_str(), nullptr);
        WriteText(dest, "old");
    }
};

TEST_F(InstallInUse, WithoutRestartFlagTheDeletionErrorIsReportedAndTheTemporaryFileGoes) {
    const FileInUse holder(dest);
    ASSERT_TRUE(holder.held());
    prompt.Answers = {IDIGNORE};
    Run(Add("new", EntryFor("{app}\\sub\\file.txt", 0, cmAlwaysReplace)));
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Text.rfind("An error occured while trying to delete the existing file.\r\n\r\n", 0),
              0u);
    EXPECT_FALSE(Globals().Setup.RestartRequired);
    EXPECT_EQ(SubListing(), "file.txt 3\n");
    EXPECT_TRUE(changes.Records().empty());
}

TEST_F(InstallInUse, WithRestartFlagTheTemporaryFileIsKeptRecordedAndNotRegistered) {
    const char* const pendingKey = "System\\CurrentControlSet\\Control\\Session Manager";
    const std::string before = RegistryExport(HKEY_LOCAL_MACHINE, pendingKey);
    ASSERT_TRUE(CopyTestDll(SelfRegDll, dest));
    ClearTestDllMark(dest);
    const FileInUse holder(dest);
    Run(Add("new",
            EntryFor("{app}\\sub\\file.txt", FileEntry::RestartReplace | FileEntry::RegisterServer, cmAlwaysReplace)));
    EXPECT_TRUE(prompt.Questions.empty());
    EXPECT_TRUE(Globals().Setup.RestartRequired);
    ASSERT_EQ(changes.Records().size(), 1u);
    const std::string temp = changes.Records()[0].String(1);
    EXPECT_EQ(temp.rfind(root / "app\\sub\\zp", 0), 0u);
    EXPECT_EQ(temp.substr(temp.size() - 4), ".tmp");
    EXPECT_EQ(ReadText(temp), "new");
    EXPECT_EQ(changes.Records()[0].value, ufExisted | ufRegistered);
    EXPECT_EQ(ReadTestDllMark(dest), "");
    // The scheduled rename is dropped again so the prefix stays as it was.
    HKEY key = nullptr;
    ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pendingKey, 0, KEY_SET_VALUE, &key);
    if (before.find("PendingFileRenameOperations") == std::string::npos)
        ::RegDeleteValueA(key, "PendingFileRenameOperations");
    ::RegCloseKey(key);
}

class InstallSharedAndRegistered : public InstallFileFixture {
protected:
    void TearDown() override { DeleteSharedCounter(dest); }
};

TEST_F(InstallSharedAndRegistered, NewFileCountsOneAndExistingFileWithoutCounterTwo) {
    Run(Add("s", EntryFor("{app}\\sub\\file.txt", FileEntry::SharedFile)));
    std::string bytes;
    EXPECT_EQ(ReadSharedCounter(dest, bytes), DWORD(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\x01\0\0\0", 4));
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].value, ufSharedCount);

    DeleteSharedCounter(dest);
    Run(Add("s2", EntryFor("{app}\\sub\\file.txt", FileEntry::SharedFile, cmAlwaysReplace)));
    EXPECT_EQ(ReadSharedCounter(dest, bytes), DWORD(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\x02\0\0\0", 4));
    EXPECT_EQ(ReadText(dest), "s2");
}

TEST_F(InstallSharedAndRegistered, SkippedFileIsStillCountedAndRegistered) {
    ::CreateDirectoryA((root / "app").c_str(), nullptr);
    ::CreateDirectoryA((root / "app\\sub").c_str(), nullptr);
    ASSERT_TRUE(CopyTestDll(SelfRegDll, dest));
    ClearTestDllMark(dest);
    const std::string original = ReadText(dest);
    Run(Add("new",
            EntryFor("{app}\\sub\\file.txt", FileEntry::SharedFile | FileEntry::RegisterServer, cmNeverReplace)));
    EXPECT_EQ(ReadText(dest), original);
    EXPECT_EQ(ReadTestDllMark(dest), "registered");
    std::string bytes;
    EXPECT_EQ(ReadSharedCounter(dest, bytes), DWORD(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\x02\0\0\0", 4));
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].value, ufSharedCount | ufRegistered);
    ClearTestDllMark(dest);
}

TEST_F(InstallSharedAndRegistered, RegistrationFailureAbortUnwindsAfterTheFileIsInPlace) {
    ::CreateDirectoryA((root / "app").c_str(), nullptr);
    const std::string library = ReadText(TestDllPath(FailingRegDll));
    prompt.Answers = {IDABORT};
    EXPECT_THROW(Run(Add(library, EntryFor("{app}\\sub\\file.txt", FileEntry::RegisterServer))), EAbort);
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_NE(prompt.Questions[0].Text.find("Unable to register the DLL/OCX. (DllRegisterServer returned -2147467259)"),
              std::string::npos);
    // The file got its record before registration, so the rollback can remove it.
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].value, ufRegistered);
}

}  // namespace
}  // namespace pelorin::testing
