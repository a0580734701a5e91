// Undoing directories, INI entries, registry keys and values, and the replay as a whole:
// last-first order, failures that do not stop it, and errors reported in the error box.
#include <gtest/gtest.h>

#include "setup/CmnFunc.h"
#include "setup/install/Undo.h"
#include "setup/install/UndoRegistry.h"
#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {
namespace {

constexpr std::uint32_t CurrentUser = 0x80000001u;

class UndoSettings : public ::testing::Test {
protected:
    ScratchDir dir;
    ScriptedPrompt prompt;
    TUndoChanges changes;
    const std::string key =
        std::string(TestKeyRoot) + "\\" + ::testing::UnitTest::GetInstance()->current_test_info()->name();

    void TearDown() override { RegDeleteKeyIncludingSubkeys(HKEY_CURRENT_USER, TestKeyRoot); }

    std::string IniRead(const std::string& file, const char* section, const char* name) {
        char text[256] = {};
        ::GetPrivateProfileStringA(section, name, "", text, sizeof text, file.c_str());
        return text;
    }
};

TEST_F(UndoSettings, RecordsAreUndoneLastFirst) {
    const std::string app = dir / "App", sub = dir / "App\\Sub";
    ::CreateDirectoryA(app.c_str(), nullptr);
    ::CreateDirectoryA(sub.c_str(), nullptr);
    WriteText(sub + "\\f.txt", "data");
    changes.AddChange(ukDirectory, {app}, 0);
    changes.AddChange(ukDirectory, {sub}, udNotifyShell);
    changes.AddChange(ukFile, {sub + "\\f.txt", ""}, 0);
    ::SetCurrentDirectoryA(sub.c_str());  // a current directory does not keep it alive
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_FALSE(DirExists(app));
}

TEST_F(UndoSettings, DirectoryStillHoldingFilesFailsWithoutStoppingTheReplay) {
    const std::string full = dir / "Full", empty = dir / "Empty";
    ::CreateDirectoryA(full.c_str(), nullptr);
    ::CreateDirectoryA(empty.c_str(), nullptr);
    WriteText(full + "\\user-data.txt", "data");
    changes.AddChange(ukDirectory, {empty}, 0);
    changes.AddChange(ukDirectory, {full}, 0);
    changes.AddChange(ukDirectory, {dir / "NeverCreated"}, 0);
    const ReplayResult result = Replay(changes, false, prompt);
    EXPECT_FALSE(result.Ok);
    ASSERT_EQ(result.Failures.size(), 1u);
    EXPECT_EQ(result.Failures[0].Item, full);
    EXPECT_TRUE(DirExists(full));
    EXPECT_FALSE(DirExists(empty));
    EXPECT_TRUE(changes.Empty());
}

TEST_F(UndoSettings, IniValueGoesAndItsSectionWhenNothingIsLeft) {
    const std::string ini = dir / "app.ini";
    ::WritePrivateProfileStringA("Alone", "Key", "1", ini.c_str());
    ::WritePrivateProfileStringA("Shared", "Key", "1", ini.c_str());
    ::WritePrivateProfileStringA("Shared", "Other", "2", ini.c_str());
    ::WritePrivateProfileStringA("Whole", "A", "1", ini.c_str());
    ::WritePrivateProfileStringA("Whole", "B", "2", ini.c_str());
    changes.AddChange(ukIniValue, {ini, "Alone", "Key"}, 0);
    changes.AddChange(ukIniValue, {ini, "Shared", "Key"}, 0);
    changes.AddChange(ukIniSection, {ini, "Whole"}, 0);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);

    char sections[512] = {};
    ::GetPrivateProfileSectionNamesA(sections, sizeof sections, ini.c_str());
    EXPECT_STREQ(sections, "Shared");  // the only section left
    EXPECT_EQ(IniRead(ini, "Shared", "Key"), "");
    EXPECT_EQ(IniRead(ini, "Shared", "Other"), "2");
}

TEST_F(UndoSettings, WindowsIniIsUsedWhenNoFileIsNamed) {
    ::WriteProfileStringA("Pelorin Undo Test", "Key", "1");
    changes.AddChange(ukIniValue, {"", "Pelorin Undo Test", "Key"}, 0);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    char names[64] = {};
    ::GetProfileStringA("Pelorin Undo Test", nullptr, "", names, sizeof names);
    EXPECT_EQ(names[0], '\0');
}

TEST_F(UndoSettings, KeyTreeGoesWithEverythingBelowIt) {
    WriteValue(HKEY_CURRENT_USER, key + "\\Tree\\Deep\\Deeper", "v", REG_SZ, "1");
    WriteValue(HKEY_CURRENT_USER, key + "\\Tree", "v", REG_SZ, "1");
    changes.AddChange(ukRegKeyTree, {key + "\\Tree"}, CurrentUser);
    changes.AddChange(ukRegKeyTree, {key + "\\Missing"}, CurrentUser);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\Tree"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key));
}

TEST_F(UndoSettings, KeysGoOnlyWhenEmpty) {
    WriteValue(HKEY_CURRENT_USER, key + "\\Keep", "mine", REG_SZ, "1");
    WriteValue(HKEY_CURRENT_USER, key + "\\Keep", "other", REG_SZ, "1");
    WriteValue(HKEY_CURRENT_USER, key + "\\Gone", "mine", REG_SZ, "1");
    CreateKey(HKEY_CURRENT_USER, key + "\\Empty");
    CreateKey(HKEY_CURRENT_USER, key + "\\Parent\\Child");
    changes.AddChange(ukRegValue, {key + "\\Keep", "mine"}, CurrentUser);
    changes.AddChange(ukRegValue, {key + "\\Gone", "mine"}, CurrentUser);
    changes.AddChange(ukRegKeyIfEmpty, {key + "\\Empty"}, CurrentUser);
    changes.AddChange(ukRegKeyIfEmpty, {key + "\\Parent"}, CurrentUser);
    changes.AddChange(ukRegValue, {key + "\\Missing", "x"}, CurrentUser);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key + "\\Keep"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, key + "\\Keep", "mine"));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, key + "\\Keep", "other"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\Gone"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\Empty"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key + "\\Parent\\Child"));
}

TEST_F(UndoSettings, EmptyKeyPathsAndUnknownRootsAreRefused) {
    CreateKey(HKEY_CURRENT_USER, key);
    changes.AddChange(ukRegKeyTree, {""}, CurrentUser);   // would be the whole root
    changes.AddChange(ukRegKeyTree, {key}, 0x00000010u);  // not a root key
    changes.AddChange(ukRegValue, {key, "v"}, 0x7FFFFFFFu);
    const ReplayResult result = Replay(changes, true, prompt);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Failures.size(), 3u);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
    EXPECT_EQ(RootKeyHandle(0x80000002u), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RootKeyHandle(0x80000000u), HKEY_CLASSES_ROOT);
    EXPECT_EQ(RootKeyHandle(0x80000007u), nullptr);
}

TEST_F(UndoSettings, ProgramManagerErrorIsReportedAndTheReplayGoesOn) {
    const std::string file = dir / "after.txt";
    WriteText(file, "data");
    changes.AddChange(ukFile, {file, ""}, 0);
    changes.AddChange(ukProgman, {"Pelorin Undo Group", "No Such Item"}, 0);
    changes.AddRecord(42, "x", 1, 0);  // an unknown kind is skipped
    const ReplayResult result = Replay(changes, false, prompt);
    EXPECT_FALSE(result.Ok);
    ASSERT_EQ(prompt.Errors.size(), 1u);
    EXPECT_EQ(prompt.Errors[0], "DDE: Command was not successful.");
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(changes.Empty());
}

TEST_F(UndoSettings, ShellNotificationsAreSentWithoutFailing) {
    changes.AddChange(ukShellNotify, {dir.Path()}, 0x1000);
    EXPECT_TRUE(Replay(changes, false, prompt).Ok);
}

}  // namespace
}  // namespace pelorin::testing
