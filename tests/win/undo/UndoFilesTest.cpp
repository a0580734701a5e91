// Undoing ukFile records: which files a rollback and an uninstall delete, help-file companions,
// files in use, temporary files kept for a restart, and calls of DllUnregisterServer.
#include <gtest/gtest.h>

#include "platform/win/Handles.h"
#include "setup/install/Undo.h"
#include "tests/win/testdlls/FileInUse.h"
#include "tests/win/testdlls/TestDlls.h"
#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {
namespace {

class UndoFiles : public ::testing::Test {
protected:
    ScratchDir dir;
    ScriptedPrompt prompt;
    TUndoChanges changes;
};

TEST_F(UndoFiles, RollbackDeletesNewFilesAndKeepsThoseThatExistedBefore) {
    const std::string fresh = dir / "new.txt", existed = dir / "old.txt", later = dir / "later.txt";
    WriteText(fresh, "data");
    WriteText(existed, "data");
    WriteText(later, "data");
    changes.AddChange(ukFile, {fresh, ""}, 0);
    changes.AddChange(ukFile, {existed, ""}, ufExisted);
    changes.AddChange(ukFile, {later, ""}, ufUninstallOnly);  // an uninstall-delete entry
    changes.AddChange(ukFile, {dir / "never-made.txt", ""}, ufNotifyShell);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_TRUE(changes.Empty());
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_TRUE(FileExists(existed));
    EXPECT_TRUE(FileExists(later));
}

TEST_F(UndoFiles, UninstallDeletesEveryRecordedFile) {
    const std::string fresh = dir / "new.txt", existed = dir / "old.txt", later = dir / "later.txt";
    WriteText(fresh, "data");
    WriteText(existed, "data");
    WriteText(later, "data");
    changes.AddChange(ukFile, {fresh, ""}, ufNotifyShell);
    changes.AddChange(ukFile, {existed, ""}, ufExisted);
    changes.AddChange(ukFile, {later, ""}, ufUninstallOnly);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_FALSE(FileExists(existed));
    EXPECT_FALSE(FileExists(later));
    EXPECT_TRUE(prompt.SharedQuestions.empty());
}

TEST_F(UndoFiles, TemporaryFileKeptForARestartIsWhatARollbackDeletes) {
    const std::string dest = dir / "busy.dll", temp = dir / "zp123456.tmp";
    WriteText(dest, "data");
    WriteText(temp, "data");
    changes.AddChange(ukFile, {dest, temp}, ufExisted);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_TRUE(FileExists(dest));
    EXPECT_FALSE(FileExists(temp));

    const std::string dest2 = dir / "new-busy.dll", temp2 = dir / "zp654321.tmp";
    WriteText(dest2, "data");
    WriteText(temp2, "data");
    changes.AddChange(ukFile, {dest2, temp2}, 0);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_TRUE(FileExists(dest2));  // the destination is not the new file yet
    EXPECT_FALSE(FileExists(temp2));
}

TEST_F(UndoFiles, HelpFileTakesItsCompanionsAlongWhateverTheCase) {
    for (const char* name : {"Guide.hlp", "Guide.GID", "Guide.fts", "Guide.cnt", "Other.GID"})
        WriteText(dir / name, "data");
    changes.AddChange(ukFile, {dir / "Guide.hlp", ""}, 0);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_FALSE(FileExists(dir / "Guide.hlp"));
    EXPECT_FALSE(FileExists(dir / "Guide.GID"));
    EXPECT_FALSE(FileExists(dir / "Guide.fts"));
    EXPECT_TRUE(FileExists(dir / "Guide.cnt"));
    EXPECT_TRUE(FileExists(dir / "Other.GID"));

    // Companions go even when the help file itself is already gone; other files keep theirs.
    WriteText(dir / "Gone.GID", "data");
    WriteText(dir / "Readme.GID", "data");
    WriteText(dir / "Readme.txt", "data");
    changes.AddChange(ukFile, {dir / "Gone.HLP", ""}, 0);
    changes.AddChange(ukFile, {dir / "Readme.txt", ""}, 0);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_FALSE(FileExists(dir / "Gone.GID"));
    EXPECT_TRUE(FileExists(dir / "Readme.GID"));
}

TEST_F(UndoFiles, FileInUseFailsButTheReplayGoesOn) {
    const std::string busy = dir / "busy.txt", other = dir / "other.txt";
    WriteText(busy, "data");
    WriteText(other, "data");
    changes.AddChange(ukFile, {other, ""}, 0);
    changes.AddChange(ukFile, {busy, ""}, 0);
    FileInUse hold(busy);
    ASSERT_TRUE(hold.held());
    ASSERT_FALSE(::DeleteFileA(busy.c_str()));
    ASSERT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    const ReplayResult result = Replay(changes, true, prompt);
    EXPECT_FALSE(result.Ok);
    ASSERT_EQ(result.Failures.size(), 1u);
    EXPECT_EQ(result.Failures[0].Item, busy);
    EXPECT_EQ(result.Failures[0].Reason, "error 32");
    EXPECT_TRUE(FileExists(busy));
    EXPECT_FALSE(FileExists(other));
    EXPECT_TRUE(prompt.Errors.empty());
}

TEST_F(UndoFiles, RunningFileIsScheduledForTheRestartInsteadOfDeleted) {
    const std::string self = dir / "FERROW.EXE";
    WriteText(self, "data");
    changes.AddChange(ukFile, {self, ""}, 0);
    std::vector<std::string> scheduled;
    UndoOptions options;
    options.FullUninstall = true;
    options.Prompt = &prompt;
    options.RunningFile = self;
    options.Scheduled = &scheduled;
    EXPECT_TRUE(UndoAll(changes, options));
    EXPECT_TRUE(FileExists(self));
    ASSERT_EQ(scheduled.size(), 1u);
    EXPECT_EQ(scheduled[0], self);
}

// What an installation made below a long destination (Wine lets the installation's renames make
// paths past the ANSI limit): the uninstall removes every file and folder of it.
TEST_F(UndoFiles, UninstallRemovesFilesAndFoldersPastTheAnsiLimit) {
    const auto extended = [](const std::string& path) { return L"\\\\?\\" + std::wstring(path.begin(), path.end()); };
    std::vector<std::string> folders;
    std::string folder = dir.Path();
    for (const char letter : {'a', 'b', 'c', 'd', 'e'}) {
        folder += "\\" + std::string(48, letter);
        ASSERT_TRUE(::CreateDirectoryW(extended(folder).c_str(), nullptr)) << folder.size();
        folders.push_back(folder);
        changes.AddChange(ukDirectory, {folder}, 0);
    }
    const std::string file = folder + "\\" + std::string(40, 'f') + ".txt";
    ASSERT_GT(folder.size(), static_cast<std::size_t>(MAX_PATH));
    {
        const FileHandle made(::CreateFileW(extended(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(made);
    }
    changes.AddChange(ukFile, {file, ""}, ufNotifyShell);

    const ReplayResult result = Replay(changes, true, prompt);
    EXPECT_TRUE(result.Ok);
    for (const UndoFailure& failure : result.Failures) ADD_FAILURE() << failure.Item << ": " << failure.Reason;
    EXPECT_EQ(::GetFileAttributesW(extended(file).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesW(extended(folders.front()).c_str()), INVALID_FILE_ATTRIBUTES);
}

class UndoRegistration : public UndoFiles {
protected:
    std::string Install(const char* dll, const char* as) {
        const std::string path = dir / as;
        EXPECT_TRUE(CopyTestDll(dll, path)) << TestDllPath(dll);
        ClearTestDllMark(path);
        return path;
    }
};

TEST_F(UndoRegistration, NewRegisteredLibraryIsUnregisteredThenDeleted) {
    const std::string ok = Install(SelfRegDll, "ok.dll");
    changes.AddChange(ukFile, {ok, ""}, ufRegistered);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_EQ(ReadTestDllMark(ok), "unregistered");
    EXPECT_FALSE(FileExists(ok));
}

TEST_F(UndoRegistration, FailingOrMissingEntryPointFailsButTheFileStillGoes) {
    const std::string fails = Install(FailingRegDll, "fails.dll");
    const std::string none = Install(NoExportDll, "none.dll");
    changes.AddChange(ukFile, {fails, ""}, ufRegistered);
    changes.AddChange(ukFile, {none, ""}, ufRegistered);
    changes.AddChange(ukFile, {dir / "missing.dll", ""}, ufRegistered);
    const ReplayResult result = Replay(changes, true, prompt);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Failures.size(), 3u);
    EXPECT_EQ(ReadTestDllMark(fails), "unregister failed");
    EXPECT_FALSE(FileExists(fails));
    EXPECT_FALSE(FileExists(none));
    EXPECT_TRUE(prompt.Errors.empty());
}

TEST_F(UndoRegistration, RollbackLeavesLibrariesThatExistedOrWaitForARestart) {
    const std::string existed = Install(SelfRegDll, "existed.dll");
    const std::string pending = Install(SelfRegDll, "pending.dll");
    const std::string temp = dir / "zp000001.tmp";
    WriteText(temp, "data");
    changes.AddChange(ukFile, {existed, ""}, ufExisted | ufRegistered);
    changes.AddChange(ukFile, {pending, temp}, ufRegistered);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_EQ(ReadTestDllMark(existed), "");
    EXPECT_EQ(ReadTestDllMark(pending), "");
    EXPECT_TRUE(FileExists(existed));
    EXPECT_TRUE(FileExists(pending));
    EXPECT_FALSE(FileExists(temp));
}

}  // namespace
}  // namespace pelorin::testing
