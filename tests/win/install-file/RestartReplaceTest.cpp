// Replacement at restart: the WININIT.INI rewrite with and without a "[rename]" section, without
// the file, and when writing fails; the Windows 95 path and the NT path in emulated runs.
#include <gtest/gtest.h>

#include "setup/CmnFunc.h"
#include "setup/Globals.h"
#include "setup/install/FileRulesRestart.h"
#include "tests/win/install-file/InstallTestSupport.h"

namespace pelorin::testing {
namespace {

class Wininit : public ::testing::Test {
protected:
    std::string Ini() const { return dir / "WININIT.INI"; }
    ScratchDir dir;
};

TEST_F(Wininit, EntryEndsTheExistingRenameSection) {
    WriteText(Ini(), "[Other]\r\na=1\r\n  [RENAME]\r\nNUL=C:\\OLD.TMP\r\n[Later]\r\nb=2\r\n");
    AddWininitRename(dir.Path(), "C:\\DEST.DLL=C:\\ZP0001.TMP");
    // The indented header is a header, but not the "[rename]" header as read.
    EXPECT_EQ(ReadText(Ini()),
              "[Other]\r\na=1\r\n  [RENAME]\r\nNUL=C:\\OLD.TMP\r\n[Later]\r\nb=2\r\n[rename]\r\n"
              "C:\\DEST.DLL=C:\\ZP0001.TMP\r\n");
    WriteText(Ini(), "[Other]\na=1\n[Rename]\nNUL=C:\\OLD.TMP\n[Later]\nb=2\n");
    AddWininitRename(dir.Path(), "X=Y");
    EXPECT_EQ(ReadText(Ini()), "[Other]\r\na=1\r\n[Rename]\r\nNUL=C:\\OLD.TMP\r\nX=Y\r\n[Later]\r\nb=2\r\n");
    EXPECT_EQ(TreeListing(dir.Path()), "WININIT.INI 59\n");  // the saved copy is gone
}

TEST_F(Wininit, WithoutSectionOrFileANewSectionIsStarted) {
    WriteText(Ini(), "[Other]\r\na=1\r\n");
    AddWininitRename(dir.Path(), "X=Y");
    EXPECT_EQ(ReadText(Ini()), "[Other]\r\na=1\r\n[rename]\r\nX=Y\r\n");
    ::DeleteFileA(Ini().c_str());
    AddWininitRename(dir.Path(), "X=Y");
    EXPECT_EQ(ReadText(Ini()), "[rename]\r\nX=Y\r\n");
}

TEST_F(Wininit, AFailedWriteNeverLosesTheSavedCopy) {
    const std::string old = "[rename]\r\nNUL=C:\\OLD.TMP\r\n";
    WriteText(Ini(), old);
    // Something takes the name while the old file is set aside: the new file cannot be created
    // and the old one cannot go back, so it stays under its saved name, which the error names.
    try {
        AddWininitRename(dir.Path(), "X=Y", [&] { ::CreateDirectoryA(Ini().c_str(), nullptr); });
        FAIL() << "no error";
    } catch (const Exception& e) {
        const std::string message = e.what();
        const std::size_t at = message.find("kept in ");
        ASSERT_NE(at, std::string::npos) << message;
        const std::string saved = message.substr(at + 8, message.size() - at - 9);
        EXPECT_EQ(ReadText(saved), old);
        ::DeleteFileA(saved.c_str());
    }
    ::RemoveDirectoryA(Ini().c_str());

    // When only the new file fails (the name is taken by a plain file), the old one goes back.
    WriteText(Ini(), old);
    EXPECT_THROW(AddWininitRename(dir.Path(), "X=Y", [&] { WriteText(Ini(), "intruder"); }), Exception);
    EXPECT_EQ(ReadText(Ini()), old);
    EXPECT_EQ(TreeListing(dir.Path()).find("zp"), std::string::npos);
}

// The emulated runs: the parent sets the version for a second run of this program.
TEST(RestartReplaceEmulated, Windows95WritesWininit) {
    if (InEmulatedRun()) GTEST_SKIP();
    EXPECT_EQ(RunSelfAs("win95", "Win95Run.*"), 0);
}

TEST(RestartReplaceEmulated, Nt40UsesMoveFileEx) {
    if (InEmulatedRun()) GTEST_SKIP();
    EXPECT_EQ(RunSelfAs("nt40", "Nt40Run.*"), 0);
}

TEST(Win95Run, RenameLineUsesShortNames) {
    if (!InEmulatedRun()) GTEST_SKIP() << "runs only in the emulated run";
    ASSERT_FALSE(IsNT());
    ScratchDir dir;
    Globals().WinDir = dir.Path();
    Globals().Setup.RestartRequired = false;
    const std::string temp = dir / "zp00000A.tmp", dest = dir / "a long name.dll";
    WriteText(temp, "new");
    WriteText(dest, "old");
    RestartReplace(temp, dest);
    EXPECT_TRUE(Globals().Setup.RestartRequired);
    EXPECT_EQ(ReadText(dir / "WININIT.INI"), "[rename]\r\n" + GetShortName(dest) + "=" + GetShortName(temp) + "\r\n");
}

TEST(Nt40Run, MoveFileExQueuesTheRename) {
    if (!InEmulatedRun()) GTEST_SKIP() << "runs only in the emulated run";
    ASSERT_TRUE(IsNT());
    EXPECT_EQ(GetWindowsVersion().Major, 4);
    const char* const key = "System\\CurrentControlSet\\Control\\Session Manager";
    const std::string before = RegistryExport(HKEY_LOCAL_MACHINE, key);
    ScratchDir dir;
    Globals().WinDir = dir.Path();
    const std::string temp = dir / "zp00000B.tmp", dest = dir / "dest.dll";
    WriteText(temp, "new");
    RestartReplace(temp, dest);
    EXPECT_FALSE(FileExists(dir / "WININIT.INI"));
    const std::string after = RegistryExport(HKEY_LOCAL_MACHINE, key);
    EXPECT_NE(after.find("PendingFileRenameOperations"), std::string::npos);
    if (before.find("PendingFileRenameOperations") == std::string::npos) {
        HKEY open = nullptr;
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &open);
        ::RegDeleteValueA(open, "PendingFileRenameOperations");
        ::RegCloseKey(open);
    }
}

}  // namespace
}  // namespace pelorin::testing
