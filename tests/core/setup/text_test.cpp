// Text helpers: version texts, replacement without rescanning,
// expansion of the directory constants and quoting for command lines.
#include <gtest/gtest.h>

#include "setup/CmnFunc2.h"
#include "setup/Globals.h"

namespace pelorin {
namespace {

TEST(TextHelpers, VersionText) {
    EXPECT_EQ(VersionText(3, 10), "3.1");
    EXPECT_EQ(VersionText(3, 51), "3.51");
    EXPECT_EQ(VersionText(4, 5), "4.05");
    EXPECT_EQ(VersionText(4, 0), "4.");
    EXPECT_EQ(VersionText(4, 100), "4.1");
    EXPECT_EQ(VersionText(255, 255), "255.255");
}

TEST(TextHelpers, StringReplaceAllNeverRescansInsertedText) {
    EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(StringReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(StringReplaceAll("[name] and [name]", "[name]", "X"), "X and X");
    EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(StringReplaceAll("abc", "B", "x"), "abc");
    EXPECT_EQ(StringReplaceAll("", "a", "b"), "");
}

TEST(TextHelpers, ExpandConstants) {
    DirConstants dirs{"E:\\", "D:\\Prog", "C:\\", "C:\\WINDOWS\\SYSTEM"};
    EXPECT_EQ(ExpandConstants("{app}\\bin", dirs), "D:\\Prog\\bin");
    EXPECT_EQ(ExpandConstants("{win}\\sys.ini", dirs), "C:\\sys.ini");
    EXPECT_EQ(ExpandConstants("{src}\\a;{src}", dirs), "E:\\a;E:\\");
    EXPECT_EQ(ExpandConstants("{sys}{app}", dirs), "C:\\WINDOWS\\SYSTEMD:\\Prog");
    EXPECT_EQ(ExpandConstants("{APP}\\x {foo} {app", dirs), "{APP}\\x {foo} {app");
    dirs.App.clear();
    EXPECT_EQ(ExpandConstants("{app}\\bin", dirs), "bin");
    EXPECT_EQ(ExpandConstants("{app}", dirs), "");
}

TEST(TextHelpers, ExpandConstantsUsesTheProgramValues) {
    SetupGlobals& g = Globals();
    const SetupGlobals saved = g;
    g.SrcDir = "A:\\";
    g.AppDir = "C:\\Program Files\\App";
    g.WinDir = "C:\\WINDOWS";
    g.SysDir = "C:\\WINDOWS\\SYSTEM32";
    EXPECT_EQ(ExpandConstants("{src}\\setup.exe {app}\\x {win} {sys}\\y"),
              "A:\\setup.exe C:\\Program Files\\App\\x C:\\WINDOWS C:\\WINDOWS\\SYSTEM32\\y");
    g = saved;
}

TEST(TextHelpers, AddQuotes) {
    EXPECT_EQ(AddQuotes("  C:\\Program Files\\a.exe \t"), "\"C:\\Program Files\\a.exe\"");
    EXPECT_EQ(AddQuotes("C:\\prog\\a.exe"), "C:\\prog\\a.exe");
    EXPECT_EQ(AddQuotes("\"C:\\a b\\c.exe\""), "\"C:\\a b\\c.exe\"");
    EXPECT_EQ(AddQuotes("\"C:\\a b\\c.exe"), "\"\"C:\\a b\\c.exe\"");
    EXPECT_EQ(AddQuotes("\r\n"), "");
    EXPECT_EQ(AddQuotes("caf\xE9 x"), "\"caf\xE9 x\"");
}

}  // namespace
}  // namespace pelorin
