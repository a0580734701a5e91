// The file rules on their own: version block and time stamp reading, the shared counter in each
// stored kind, and self-registration with its reasons and answers.
#include <gtest/gtest.h>

#include "setup/install/FileRulesRegister.h"
#include "setup/install/FileRulesShared.h"
#include "setup/install/FileRulesVersion.h"
#include "tests/win/install-file/InstallTestSupport.h"
#include "tests/win/testdlls/TestDlls.h"

namespace pelorin::testing {
namespace {

TEST(FileVersionAndTime, ReadOnlyFromFilesThatHaveThem) {
    ScratchDir dir;
    const std::string dll = dir / "v.dll", plain = dir / "plain.txt";
    ASSERT_TRUE(CopyTestDll("versioned.dll", dll));
    WriteText(plain, "no version");
    VS_FIXEDFILEINFO info{};
    ASSERT_TRUE(GetVersionInfo(dll, info));
    EXPECT_EQ(info.dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(info.dwFileVersionLS, 0x00030004u);
    EXPECT_FALSE(GetVersionInfo(plain, info));
    EXPECT_FALSE(GetVersionInfo(dir / "missing.dll", info));

    SetLastWriteTime(plain, 0x01D0000000000001ull);
    FILETIME time{};
    ASSERT_TRUE(GetLastWriteTime(plain, time));
    EXPECT_EQ(time.dwLowDateTime, 1u);
    EXPECT_FALSE(GetLastWriteTime(dir.Path(), time));
    EXPECT_FALSE(GetLastWriteTime(dir / "missing.txt", time));
}

TEST(FileVersionAndTime, CompareHighHalfFirstAsSignedNumbers) {
    EXPECT_LT(CompareFileVersions(1, 9, 2, 0), 0);
    EXPECT_GT(CompareFileVersions(2, 0, 1, 9), 0);
    EXPECT_EQ(CompareFileVersions(2, 5, 2, 5), 0);
    EXPECT_LT(CompareFileVersions(2, 0x80000000u, 2, 1), 0);
}

class SharedCount : public ::testing::Test {
protected:
    void TearDown() override { DeleteSharedCounter(path); }
    std::string Counter(DWORD& type) const {
        std::string bytes;
        type = ReadSharedCounter(path, bytes);
        return bytes;
    }
    const std::string path = "C:\\pelorin-tests\\shared-count.dll";
};

TEST_F(SharedCount, MissingCounterStartsAtZeroOrOneWhenTheFileExisted) {
    DWORD type = 0;
    IncrementSharedCount(path, false);
    EXPECT_EQ(Counter(type), std::string("\x01\0\0\0", 4));
    EXPECT_EQ(type, DWORD(REG_DWORD));
    DeleteSharedCounter(path);
    IncrementSharedCount(path, true);
    EXPECT_EQ(Counter(type), std::string("\x02\0\0\0", 4));
    IncrementSharedCount(path, true);  // an existing counter is not raised twice for "existed"
    EXPECT_EQ(Counter(type), std::string("\x03\0\0\0", 4));
}

TEST_F(SharedCount, KeepsTheStoredKind) {
    DWORD type = 0;
    WriteSharedCounter(path, REG_SZ, std::string("41\0", 3));
    IncrementSharedCount(path, true);
    EXPECT_EQ(Counter(type), std::string("42\0", 3));
    EXPECT_EQ(type, DWORD(REG_SZ));

    WriteSharedCounter(path, REG_BINARY, std::string("\x05\x01", 2));
    IncrementSharedCount(path, false);
    EXPECT_EQ(Counter(type), std::string("\x06\x01\0\0", 4));
    EXPECT_EQ(type, DWORD(REG_BINARY));

    WriteSharedCounter(path, REG_DWORD, std::string("\x07\0\0\0", 4));
    IncrementSharedCount(path, false);
    EXPECT_EQ(Counter(type), std::string("\x08\0\0\0", 4));
}

TEST_F(SharedCount, OddValuesStartAgainAsANumber) {
    DWORD type = 0;
    const std::vector<std::pair<DWORD, std::string>> odd = {
        {REG_EXPAND_SZ, std::string("5\0", 2)},
        {REG_SZ, std::string("five\0", 5)},
        {REG_BINARY, std::string("\x01\x02\x03\x04\x05", 5)},
        {REG_DWORD, std::string("\xFD\xFF\xFF\xFF", 4)},  // -3 becomes 0
    };
    for (const auto& [kind, bytes] : odd) {
        WriteSharedCounter(path, kind, bytes);
        IncrementSharedCount(path, false);
        EXPECT_EQ(Counter(type), std::string("\x01\0\0\0", 4)) << kind;
        EXPECT_EQ(type, DWORD(REG_DWORD));
    }
}

class RegisterServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CopyTestDll(name_, path())); }
    void TearDown() override { ClearTestDllMark(path()); }
    void Use(const char* name) {
        name_ = name;
        ASSERT_TRUE(CopyTestDll(name_, path()));
    }
    std::string path() const { return dir / "lib.dll"; }
    ScratchDir dir;
    ScriptedInstallPrompt prompt;
    const char* name_ = SelfRegDll;
};

TEST_F(RegisterServerTest, SuccessAsksNothing) {
    RegisterServer(path(), prompt);
    EXPECT_EQ(ReadTestDllMark(path()), "registered");
    EXPECT_TRUE(prompt.Questions.empty());
}

TEST_F(RegisterServerTest, ReasonsOfFailure) {
    EXPECT_EQ(TryRegisterServer(dir / "missing.dll"), "LoadLibrary failed");
    Use(NoExportDll);
    EXPECT_EQ(TryRegisterServer(path()), "DllRegisterServer export not found");
    Use(FailingRegDll);
    EXPECT_EQ(TryRegisterServer(path()), "DllRegisterServer returned -2147467259");
}

TEST_F(RegisterServerTest, RetryRepeatsIgnoreGoesOnAbortUnwinds) {
    Use(FailingRegDll);
    prompt.Answers = {IDRETRY, IDIGNORE};
    RegisterServer(path(), prompt);
    ASSERT_EQ(prompt.Questions.size(), 2u);
    EXPECT_EQ(
        prompt.Questions[0].Text,
        path() +
            "\r\nUnable to register the DLL/OCX. (DllRegisterServer returned -2147467259)\r\n\r\n"
            "Click Retry to try again, Ignore to proceed anyway (not recommended), or Abort to cancel installation.");
    EXPECT_EQ(prompt.Questions[0].Kind, mbWarning);
    EXPECT_EQ(prompt.Questions[0].Buttons, UINT(MB_ABORTRETRYIGNORE | MB_DEFBUTTON1));
    prompt.Answers = {IDABORT};
    EXPECT_THROW(RegisterServer(path(), prompt), EAbort);
}

}  // namespace
}  // namespace pelorin::testing
