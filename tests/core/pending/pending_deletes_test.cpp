// Calling off queued deletions: only deletions of the file go, renames and other files stay,
// in the multi-string value and in WININIT.INI's "[rename]" section alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/install/PendingDeletes.h"

namespace pelorin {
namespace {

const TSamePath kFerrow = [](const std::string& name) { return name == "C:\\windows\\FERROW.EXE"; };

TEST(PendingDeletes, MultiStringSplitsAndJoinsBackTheSameBytes) {
    const char raw[] = "\\??\\C:\\a\0\0\\??\\C:\\b\0!\\??\\C:\\c\0\0";
    const std::string value(raw, sizeof raw - 1);
    const std::vector<std::string> strings = SplitMultiString(value);
    EXPECT_EQ(strings, (std::vector<std::string>{"\\??\\C:\\a", "", "\\??\\C:\\b", "!\\??\\C:\\c"}));
    EXPECT_EQ(JoinMultiString(strings), value);
    EXPECT_TRUE(SplitMultiString(std::string("\0", 1)).empty());
    EXPECT_EQ(SplitMultiString("no end"), std::vector<std::string>{"no end"});
}

TEST(PendingDeletes, OnlyDeletionsOfTheFileLeaveTheNtList) {
    std::vector<std::string> pairs = {"\\??\\C:\\windows\\FERROW.EXE",
                                      "",  // deletion
                                      "\\??\\C:\\tmp\\zp000001.tmp",
                                      "!\\??\\C:\\windows\\FERROW.EXE",  // rename
                                      "\\??\\C:\\other.dll",
                                      "",
                                      "\\??\\C:\\windows\\FERROW.EXE",
                                      "",
                                      "\\??\\C:\\keep.dll",
                                      "",
                                      "\\??\\C:\\windows\\FERROW.EXE"};  // its empty target is the end mark
    EXPECT_TRUE(RemovePendingDeletions(pairs, kFerrow));
    EXPECT_EQ(pairs, (std::vector<std::string>{"\\??\\C:\\tmp\\zp000001.tmp", "!\\??\\C:\\windows\\FERROW.EXE",
                                               "\\??\\C:\\other.dll", "", "\\??\\C:\\keep.dll", ""}));
    EXPECT_FALSE(RemovePendingDeletions(pairs, kFerrow));
}

TEST(PendingDeletes, OnlyNulLinesOfTheRenameSectionLeaveWininit) {
    std::vector<std::string> lines = {"[other]",
                                      "NUL=C:\\windows\\FERROW.EXE",
                                      "[Rename]",
                                      "C:\\windows\\FERROW.EXE=C:\\windows\\ZP0001.TMP",
                                      " nul = C:\\windows\\FERROW.EXE ",
                                      "NUL=C:\\keep.dll",
                                      "[later]",
                                      "x=1"};
    EXPECT_TRUE(RemoveWininitDeletions(lines, kFerrow));
    EXPECT_EQ(lines, (std::vector<std::string>{"[other]", "NUL=C:\\windows\\FERROW.EXE", "[Rename]",
                                               "C:\\windows\\FERROW.EXE=C:\\windows\\ZP0001.TMP", "NUL=C:\\keep.dll",
                                               "[later]", "x=1"}));
    EXPECT_FALSE(RemoveWininitDeletions(lines, kFerrow));
}

}  // namespace
}  // namespace pelorin
