// DoInstall end to end without a window: the order of the steps and their records, the progress
// bar's range and end, the uninstall entry and its numbering, program items as shell links, INI
// and registry entries with their answers, and the undo log.
#include <gtest/gtest.h>

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/install/InstallUninstall.h"
#include "setup/install/UndoLog.h"
#include "tests/win/install/EngineFixture.h"

namespace pelorin::testing {
namespace {

std::vector<std::uint8_t> KindsOf(const TUndoChanges& changes) {
    std::vector<std::uint8_t> kinds;
    for (const UndoRecord& record : changes.Records()) kinds.push_back(record.kind);
    return kinds;
}

std::uint64_t FileSize(const std::string& path) { return ReadText(path).size(); }

std::string UninstallValue(const std::string& keyName, const char* value) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(UninstallKey) + "\\" + keyName).c_str(), 0, KEY_QUERY_VALUE,
                        key.put()) != ERROR_SUCCESS)
        return "<no key>";
    std::string text;
    return RegQueryStringValue(key.get(), value, text) ? text : "<no value>";
}

class DoInstall : public EngineFixture {};

TEST_F(DoInstall, EmptySetupCreatesTheApplicationFolderAndEndsWithEmptyRecords) {
    EXPECT_EQ(ProgressMaximum(Desc()), 0);
    ASSERT_TRUE(RunEngine());
    EXPECT_EQ(progress.Statuses,
              (std::vector<std::string>{"Creating Directory Structure...", "Copying Application Files..."}));
    EXPECT_TRUE(pelorin::DirExists(Globals().AppDir));
    EXPECT_TRUE(changes.Records().empty());  // cleared after success
    EXPECT_EQ(progress.Pos, 0);
    EXPECT_FALSE(FileExists(root / "app\\REMOVE.LOG"));
    EXPECT_EQ(UninstallValue(appVerName + "_is1", "DisplayName"), "<no key>");
}

TEST_F(DoInstall, FullSetupRunsEveryStepInOrderAndWritesTheLog) {
    SetupData& setup = Desc();
    setup.Header.Flags = SetupHeader::CreateUninstall;
    setup.DirEntries.push_back({"{app}\\data\\deep"});
    const FileEntry a = AddFile(std::string(70000, 'a'), "{app}\\a.txt");
    const FileEntry b = AddFile("bee", "{app}\\data\\b.txt");
    setup.IconEntries.push_back({"Run A", "{app}\\a.txt", "-x", "", "", 0});
    setup.IniEntries.push_back({"{app}\\test.ini", "Sec", "Key", "{app}", IniEntry::UninsDeleteEntry});
    setup.RegistryEntries.push_back(RegEntry(std::string(TestRegKey) + "\\Sub", "Dir", "{app}", RegistryEntry::vtString,
                                             RegistryEntry::UninsDeleteValue));
    setup.UninstallDeleteEntries.push_back({"{app}\\later.dat"});

    ASSERT_TRUE(RunEngine()) << (prompt.Errors.empty() ? "" : prompt.Errors[0]);
    EXPECT_EQ(progress.Statuses,
              (std::vector<std::string>{"Creating Directory Structure...", "Copying Application Files...",
                                        "Setting Up Program Icons...", "Creating INI entries...",
                                        "Updating Registry Entries...", "Installing Remove Wizard..."}));
    const std::string app = Globals().AppDir;
    EXPECT_EQ(ReadText(app + "\\data\\b.txt"), "bee");
    EXPECT_TRUE(FileExists(ProgramsDir() + "\\Test Group\\Run A.lnk"));
    EXPECT_TRUE(FileExists(ProgramsDir() + "\\Test Group\\Remove Test App.lnk"));
    char ini[64] = {};
    ::GetPrivateProfileStringA("Sec", "Key", "", ini, sizeof ini, (app + "\\test.ini").c_str());
    EXPECT_EQ(std::string(ini), app);
    // Maximum: the files, one item, INI and registry; the uninstall item is not counted.
    const std::int64_t max = std::int64_t(a.CompressedSize) + b.CompressedSize + 3000;
    EXPECT_EQ(progress.Max, max);
    EXPECT_EQ(progress.Pos, max + 1000);
    EXPECT_EQ(progress.Filenames.back(), "");

    const std::string logPath = app + "\\REMOVE.LOG";
    EXPECT_EQ(UninstallValue(appVerName + "_is1", "DisplayName"), appVerName);
    const std::string command = "\"" + Globals().WinDir + "\\FERROW.EXE\" \"" + logPath + "\" /U";
    EXPECT_EQ(UninstallValue(appVerName + "_is1", "UninstallString"), command);
    EXPECT_EQ(UninstallValue(appVerName + "_is1", "QuietUninstallString"), command + " /S");
    // The log holds the records in the order they were made.
    const TUndoChanges log = LoadUndoLog(logPath);
    EXPECT_EQ(log.Title, "Test App");
    EXPECT_EQ(KindsOf(log),
              (std::vector<std::uint8_t>{ukDirectory, ukDirectory, ukRegKeyTree, ukFile, ukFile, ukShellNotify,
                                         ukDirectory, ukFile, ukFile, ukIniValue, ukRegValue, ukFile}));
    const std::vector<UndoRecord>& r = log.Records();
    EXPECT_EQ(r[1].String(0), app + "\\data\\deep");
    EXPECT_EQ(r[2].String(0), std::string(UninstallKey) + "\\" + appVerName + "_is1");
    EXPECT_EQ(r[2].value, 0x80000002u);
    EXPECT_EQ(r[5].value, 0x1000u);
    EXPECT_EQ(r[6].String(0), ProgramsDir() + "\\Test Group");
    EXPECT_EQ(r[6].value, 1u);
    EXPECT_EQ(r[8].String(0), ProgramsDir() + "\\Test Group\\Remove Test App.lnk");
    EXPECT_EQ(r[8].value, 0x10u);
    EXPECT_EQ(r[10].String(1), "Dir");
    EXPECT_EQ(r[10].value, 0x80000001u);
    EXPECT_EQ(r[11].String(0), app + "\\later.dat");
    EXPECT_EQ(r[11].value, 2u);
}

TEST_F(DoInstall, WithoutUninstallNoKeyNoItemNoLog) {
    Desc().IconEntries.push_back({"Item", "{app}\\a.exe", "", "{app}", "{app}\\a.ico", 3});
    ASSERT_TRUE(RunEngine());
    EXPECT_EQ(TreeListing(ProgramsDir()), "Test Group\\\nTest Group\\Item.lnk " +
                                              std::to_string(FileSize(ProgramsDir() + "\\Test Group\\Item.lnk")) +
                                              "\n");
    EXPECT_FALSE(FileExists(Globals().AppDir + "\\REMOVE.LOG"));
    EXPECT_EQ(UninstallValue(appVerName + "_is1", "DisplayName"), "<no key>");
}

TEST_F(DoInstall, UninstallKeyTakesTheFirstFreeNumber) {
    Desc().Header.Flags = SetupHeader::CreateUninstall;
    KeyHandle taken;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(UninstallKey) + "\\" + appVerName + "_is1").c_str(), 0, nullptr,
                      0, KEY_SET_VALUE, nullptr, taken.put(), nullptr);
    ASSERT_TRUE(RunEngine());
    EXPECT_EQ(UninstallValue(appVerName + "_is1", "DisplayName"), "<no value>");
    EXPECT_EQ(UninstallValue(appVerName + "_is2", "DisplayName"), appVerName);
    // With no IconEntry, the group holds only the uninstall item.
    EXPECT_EQ(TreeListing(ProgramsDir() + "\\Test Group").substr(0, 20), "Remove Test App.lnk ");
}

TEST_F(DoInstall, RegistryValuesByType) {
    SetupData& setup = Desc();
    const std::string subKey = std::string(TestRegKey) + "\\{app}";
    setup.RegistryEntries.push_back(RegEntry(subKey, "Number", "-7", RegistryEntry::vtDWord, 0));
    setup.RegistryEntries.push_back(RegEntry(subKey, "Text", "{win}\\x", RegistryEntry::vtString, 0));
    setup.RegistryEntries.push_back(RegEntry(subKey, "Other", "x", 9, 0));  // the key only
    ASSERT_TRUE(RunEngine());
    const std::string keyPath = std::string(TestRegKey) + "\\" + Globals().AppDir;
    const std::string exported = RegistryExport(HKEY_CURRENT_USER, TestRegKey);
    EXPECT_NE(exported.find("\"Number\" type 4 = 249 255 255 255"), std::string::npos) << exported;
    KeyHandle key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()), ERROR_SUCCESS);
    std::string text;
    EXPECT_TRUE(RegQueryStringValue(key.get(), "Text", text));
    EXPECT_EQ(text, Globals().WinDir + "\\x");
    EXPECT_FALSE(RegValueExists(key.get(), "Other"));
}

TEST_F(DoInstall, RegistryErrorsOfferRetryIgnoreAbort) {
    Desc().RegistryEntries.push_back(
        RegEntry(TestRegKey, "Bad", "12x", RegistryEntry::vtDWord, RegistryEntry::UninsDeleteKey));
    prompt.Answers = {IDRETRY, IDIGNORE};
    ASSERT_TRUE(RunEngine());
    ASSERT_EQ(prompt.Questions.size(), 2u);
    EXPECT_EQ(
        prompt.Questions[0].Text,
        "'12x' is not a valid integer value.\r\n\r\nClick Retry to try again, Ignore to skip this entry, or Abort to cancel installation.");
    EXPECT_EQ(prompt.Questions[0].Buttons, UINT(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2));
    EXPECT_EQ(progress.Pos, 1000);
}

TEST_F(DoInstall, IniErrorsOfferRetryIgnoreAbort) {
    const std::string file = root / "missing-folder\\x.ini";
    Desc().IniEntries.push_back({file, "S", "K", "V", IniEntry::UninsDeleteEntry});
    prompt.Answers = {IDIGNORE};
    ASSERT_TRUE(RunEngine());
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Text,
              "Error creating INI entry in file " + file +
                  "\r\n\r\nClick Retry to try again, Ignore to skip this entry, or Abort to cancel installation.");
    EXPECT_EQ(prompt.Questions[0].Kind, mbWarning);
}

}  // namespace
}  // namespace pelorin::testing
