// KReg against Wine's registry: defaults for missing keys, missing values and values that are
// no strings, keys created on writing, and a write the registry refuses.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win/Handles.h"
#include "update/KReg.h"

namespace pelorin::kreg {
namespace {

const std::string kTestKey = "Software\\Pelorin Tests\\KReg";

class KRegTest : public ::testing::Test {
protected:
    void SetUp() override { ::SHDeleteKeyA(HKEY_CURRENT_USER, kTestKey.c_str()); }
    void TearDown() override { ::SHDeleteKeyA(HKEY_CURRENT_USER, kTestKey.c_str()); }
};

TEST_F(KRegTest, ReadingGivesTheDefaultForWhatIsMissingOrNoString) {
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey, "Version", "none"), "none");

    KeyHandle key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                                nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey, "Version", ""), "");
    const DWORD number = 11;
    ::RegSetValueExA(key.get(), "Pro", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey, "Pro", "default"), "default");
    // A string stored without its terminating zero still reads whole.
    ::RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\TZX"), 6);
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey, "Path", ""), "C:\\TZX");
}

TEST_F(KRegTest, WritingCreatesTheKeyAndReadsBackUnderEveryCodeOfTheSameRoot) {
    WriteString(kCurrentUser, kTestKey + "\\Deeper", "Version", "1.1");
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey + "\\Deeper", "Version", ""), "1.1");
    // Only the low seven bits of the code count, and unknown codes mean the current user.
    EXPECT_EQ(ReadString(0x80 | kCurrentUser, kTestKey + "\\Deeper", "Version", ""), "1.1");
    EXPECT_EQ(ReadString(99, kTestKey + "\\Deeper", "Version", ""), "1.1");
    EXPECT_EQ(ReadString(kLocalMachine, kTestKey + "\\Deeper", "Version", "elsewhere"), "elsewhere");
    WriteString(99, "\\" + kTestKey, "Pro", "1");
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey, "Pro", ""), "1");
}

TEST_F(KRegTest, ARefusedWriteRaisesTheMessageWithKeyIdentAndValue) {
    const std::string tooLong = kTestKey + "\\" + std::string(300, 'k');  // key names end at 255 characters
    try {
        WriteString(kCurrentUser, tooLong, "Pro", "1");
        FAIL() << "the registry took a key name of 300 characters";
    } catch (const EIRCannotWriteValue& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot install into registry. Key: " + tooLong + " Ident: Pro Value 1");
    }

    // A key below a volatile one must be volatile too: a second real refusal, with an existing parent.
    KeyHandle parent;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                nullptr, parent.put(), nullptr),
              ERROR_SUCCESS);
    EXPECT_THROW(WriteString(kCurrentUser, kTestKey + "\\Child", "Pro", "1"), EIRCannotWriteValue);
    EXPECT_EQ(ReadString(kCurrentUser, kTestKey + "\\Child", "Pro", "unwritten"), "unwritten");
}

}  // namespace
}  // namespace pelorin::kreg
