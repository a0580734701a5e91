// Registry services against the real registry: string values, key trees, the
// program-files folder and the Start Menu's program folder.
#include <gtest/gtest.h>

#include "setup/CmnFunc.h"
#include "tests/support/win/TestRegistry.h"

namespace pelorin {
namespace {

using testing::CreateKey;
using testing::DeleteValue;
using testing::KeyExists;
using testing::SavedValue;
using testing::ScratchKey;
using testing::WriteRawValue;
using testing::WriteValue;

constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string Query(HKEY key, const std::string& name, bool& found) {
    std::string value = "left over";
    found = RegQueryStringValue(key, name, value);
    return value;
}

TEST(RegQueryStringValue, ReadsStringsOfBothTypesAndRefusesOthers) {
    const ScratchKey scratch;
    WriteRawValue(scratch.get(), "plain", REG_SZ, "C:\\Apps", 8);
    WriteRawValue(scratch.get(), "expand", REG_EXPAND_SZ, "%WINDIR%\\x", 11);
    const DWORD number = 7;
    WriteRawValue(scratch.get(), "number", REG_DWORD, &number, sizeof number);

    bool found = false;
    EXPECT_EQ(Query(scratch.get(), "plain", found), "C:\\Apps");
    EXPECT_TRUE(found);
    EXPECT_EQ(Query(scratch.get(), "expand", found), "%WINDIR%\\x");  // not expanded
    EXPECT_TRUE(found);
    EXPECT_EQ(Query(scratch.get(), "number", found), "");
    EXPECT_FALSE(found);
    EXPECT_EQ(Query(scratch.get(), "missing", found), "");
    EXPECT_FALSE(found);
}

TEST(RegQueryStringValue, ShortAndUnterminatedValues) {
    const ScratchKey scratch;
    WriteRawValue(scratch.get(), "empty", REG_SZ, "", 0);
    WriteRawValue(scratch.get(), "zero", REG_SZ, "", 1);
    WriteRawValue(scratch.get(), "unterminated", REG_SZ, "abc", 3);
    WriteRawValue(scratch.get(), "embedded", REG_SZ, "ab\0cd", 6);

    bool found = false;
    EXPECT_EQ(Query(scratch.get(), "empty", found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(Query(scratch.get(), "zero", found), "");
    EXPECT_TRUE(found);
    // No character of a value stored without its terminating zero is lost.
    EXPECT_EQ(Query(scratch.get(), "unterminated", found), "abc");
    EXPECT_TRUE(found);
    EXPECT_EQ(Query(scratch.get(), "embedded", found), "ab");
}

TEST(RegValueExists, AnyTypeCounts) {
    const ScratchKey scratch;
    const DWORD number = 1;
    WriteRawValue(scratch.get(), "number", REG_DWORD, &number, sizeof number);
    WriteRawValue(scratch.get(), "", REG_SZ, "default", 8);
    EXPECT_TRUE(RegValueExists(scratch.get(), "number"));
    EXPECT_TRUE(RegValueExists(scratch.get(), ""));
    EXPECT_FALSE(RegValueExists(scratch.get(), "missing"));
}

TEST(RegDeleteKeyIncludingSubkeys, RemovesAWholeTreeAndNothingBeside) {
    const ScratchKey scratch;
    const std::string base = scratch.path();
    CreateKey(HKEY_CURRENT_USER, base + "\\Tree\\A\\B\\C");
    CreateKey(HKEY_CURRENT_USER, base + "\\Tree\\A\\D");
    CreateKey(HKEY_CURRENT_USER, base + "\\Tree\\E");
    WriteValue(HKEY_CURRENT_USER, base + "\\Tree\\A\\B", "value", REG_SZ, "x");
    CreateKey(HKEY_CURRENT_USER, base + "\\Treetop");

    EXPECT_TRUE(RegDeleteKeyIncludingSubkeys(HKEY_CURRENT_USER, base + "\\Tree"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\Tree"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\Treetop"));

    EXPECT_FALSE(RegDeleteKeyIncludingSubkeys(HKEY_CURRENT_USER, base + "\\Tree"));
}

TEST(RegDeleteKeyIncludingSubkeys, AnEmptyNameDeletesNothing) {
    const ScratchKey scratch;
    CreateKey(scratch.get(), "Child\\Grandchild");
    EXPECT_FALSE(RegDeleteKeyIncludingSubkeys(scratch.get(), ""));
    EXPECT_FALSE(RegDeleteKeyIncludingSubkeys(scratch.get(), "\\"));
    EXPECT_TRUE(KeyExists(scratch.get(), "Child\\Grandchild"));
}

TEST(GetProgramFilesDir, PresentMissingAndOfTheWrongType) {
    const SavedValue saved(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");

    WriteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir", REG_SZ, "D:\\Test Programs");
    EXPECT_EQ(GetProgramFilesDir(true), "D:\\Test Programs\\");
    EXPECT_EQ(GetProgramFilesDir(false), "D:\\Test Programs");

    DeleteValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "ProgramFilesDir");
    EXPECT_EQ(GetProgramFilesDir(true), "");

    const DWORD number = 5;
    KeyHandle key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersion, 0, KEY_SET_VALUE, key.put()), ERROR_SUCCESS);
    WriteRawValue(key.get(), "ProgramFilesDir", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(GetProgramFilesDir(true), "");
}

TEST(GetProgramsFolder, CommonFolderFirstThenTheUsersOwn) {
    const SavedValue savedCommon(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
    const SavedValue savedUser(HKEY_CURRENT_USER, kShellFolders, "Programs");
    WriteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", REG_SZ, "C:\\All\\Programs");
    WriteValue(HKEY_CURRENT_USER, kShellFolders, "Programs", REG_SZ, "C:\\Me\\Programs");

    EXPECT_EQ(GetProgramsFolder(true, false, 4), "C:\\All\\Programs");
    EXPECT_EQ(GetProgramsFolder(true, true, 4), "C:\\All\\Programs\\");
    EXPECT_EQ(GetProgramsFolder(false, true, 4), "C:\\Me\\Programs\\");

    WriteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs", REG_SZ, "");
    EXPECT_EQ(GetProgramsFolder(true, false, 4), "C:\\Me\\Programs");
    DeleteValue(HKEY_LOCAL_MACHINE, kShellFolders, "Common Programs");
    EXPECT_EQ(GetProgramsFolder(true, false, 4), "C:\\Me\\Programs");

    // The program-manager generation has no such folder, whatever the registry says.
    EXPECT_EQ(GetProgramsFolder(false, true, 3), "");
    EXPECT_EQ(GetProgramsFolder(true, true, 3), "");

    DeleteValue(HKEY_CURRENT_USER, kShellFolders, "Programs");
    EXPECT_EQ(GetProgramsFolder(false, true, 4), "");
}

TEST(IsAdmin, TheServiceManagerOpensUnderWine) {
    // Wine's user may administer the machine; the test fails if the access mask is refused.
    EXPECT_TRUE(IsNT());
    EXPECT_TRUE(IsAdmin());
}

}  // namespace
}  // namespace pelorin
