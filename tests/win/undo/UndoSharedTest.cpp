// Shared files: the "SharedDLLs" counter is lowered in every kind it can be stored in, and
// a file goes only when its counter is used up (the uninstaller asks first).
#include <gtest/gtest.h>

#include "setup/install/Undo.h"
#include "setup/install/UndoSharedCount.h"
#include "tests/win/testdlls/TestDlls.h"
#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {
namespace {

class UndoShared : public ::testing::Test {
protected:
    ScratchDir dir;
    ScriptedPrompt prompt;
    TUndoChanges changes;
    std::string file = dir / "shared.dll";

    void SetUp() override { WriteText(file, "data"); }
    void TearDown() override { DeleteSharedCounter(file); }
    void SetShared(DWORD count) { SetSharedCount(file, count); }
    DWORD Count() {
        std::string bytes;
        EXPECT_EQ(ReadSharedCounter(file, bytes), static_cast<DWORD>(REG_DWORD));
        return bytes.size() == 4 ? *reinterpret_cast<const DWORD*>(bytes.data()) : 0xFFFFFFFF;
    }
};

TEST_F(UndoShared, CounterAboveOneIsLoweredAndTheFileKept) {
    SetShared(2);
    changes.AddChange(ukFile, {file, ""}, ufSharedCount);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_EQ(Count(), 1u);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(prompt.SharedQuestions.empty());
}

TEST_F(UndoShared, LastUserRemovesTheCounterAndTheFile) {
    SetShared(1);
    changes.AddChange(ukFile, {file, ""}, ufSharedCount);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);  // a rollback does not ask
    EXPECT_FALSE(SharedCounterExists(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(prompt.SharedQuestions.empty());
}

TEST_F(UndoShared, UninstallAsksAndKeepsTheFileOnNo) {
    SetShared(1);
    prompt.RemoveShared = false;
    changes.AddChange(ukFile, {file, ""}, ufSharedCount);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    ASSERT_EQ(prompt.SharedQuestions.size(), 1u);
    EXPECT_EQ(prompt.SharedQuestions[0], file);
    EXPECT_FALSE(SharedCounterExists(file));
    EXPECT_TRUE(FileExists(file));

    prompt.RemoveShared = true;
    SetShared(1);
    changes.AddChange(ukFile, {file, ""}, ufSharedCount);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_FALSE(FileExists(file));
}

TEST_F(UndoShared, FileWithoutACounterIsNeverDeleted) {
    changes.AddChange(ukFile, {file, ""}, ufSharedCount);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(prompt.SharedQuestions.empty());
}

TEST_F(UndoShared, ReleasedCounterOfAMissingFileAsksNothing) {
    SetShared(1);
    ::DeleteFileA(file.c_str());
    changes.AddChange(ukFile, {file, ""}, ufSharedCount);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_TRUE(prompt.SharedQuestions.empty());
    EXPECT_FALSE(SharedCounterExists(file));
}

TEST_F(UndoShared, RollbackOfASharedFileThatExistedOnlyLowersTheCounter) {
    SetShared(1);
    changes.AddChange(ukFile, {file, ""}, ufSharedCount | ufExisted);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_FALSE(SharedCounterExists(file));
    EXPECT_TRUE(FileExists(file));
}

TEST_F(UndoShared, ReleasedRegisteredLibraryIsUnregisteredBeforeItGoes) {
    ASSERT_TRUE(CopyTestDll(SelfRegDll, file));
    ClearTestDllMark(file);
    SetShared(1);
    changes.AddChange(ukFile, {file, ""}, ufSharedCount | ufRegistered);
    EXPECT_TRUE(Replay(changes, true, prompt).Ok);
    EXPECT_EQ(ReadTestDllMark(file), "unregistered");
    EXPECT_FALSE(FileExists(file));
}

TEST_F(UndoShared, CounterKeepsTheKindItWasStoredIn) {
    std::string bytes;
    WriteSharedCounter(file, REG_SZ, std::string("3", 2));
    EXPECT_FALSE(DecrementSharedCount(file));
    EXPECT_EQ(ReadSharedCounter(file, bytes), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, std::string("2\0", 2));

    WriteSharedCounter(file, REG_BINARY, std::string("\2\0", 2));
    EXPECT_FALSE(DecrementSharedCount(file));
    EXPECT_EQ(ReadSharedCounter(file, bytes), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, std::string("\1\0\0\0", 4));
    EXPECT_TRUE(DecrementSharedCount(file));
    EXPECT_FALSE(SharedCounterExists(file));

    // Unreadable counters count as two users: lowered to one, never released at once.
    for (const char* text : {"many", ""}) {
        WriteSharedCounter(file, REG_SZ, std::string(text, strlen(text) + 1));
        EXPECT_FALSE(DecrementSharedCount(file)) << text;
        EXPECT_EQ(Count(), 1u);
    }
    WriteSharedCounter(file, REG_BINARY, std::string("\1\0\0\0\0", 5));
    EXPECT_FALSE(DecrementSharedCount(file));
    EXPECT_EQ(Count(), 1u);
    WriteSharedCounter(file, REG_EXPAND_SZ, std::string("1", 2));
    EXPECT_FALSE(DecrementSharedCount(file));
    EXPECT_EQ(Count(), 1u);

    SetShared(0);  // a counter already at zero releases the file
    EXPECT_TRUE(DecrementSharedCount(file));
}

}  // namespace
}  // namespace pelorin::testing
