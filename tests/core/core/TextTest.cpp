// The text helpers of core/: filling message patterns, the ASCII case rules, trailing
// backslashes and the split of paths into folder, name and extension.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/FilePath.h"
#include "core/TextCase.h"
#include "core/TextFormat.h"

namespace pelorin {
namespace {

TEST(FormatText, EachValueTakesTheFirstFreePlaceholderOfItsKind) {
    EXPECT_EQ(FormatText("Unable to write %s; code %d. Its previous contents are kept in %s.", "A.INI", 5, "B.TMP"),
              "Unable to write A.INI; code 5. Its previous contents are kept in B.TMP.");
    EXPECT_EQ(FormatText("%s_is%d", std::string("App 1.0"), 12), "App 1.0_is12");
    // A number passes a text placeholder by, as the message patterns of the string tables expect.
    EXPECT_EQ(FormatText("%s at %d", 7), "%s at 7");
    EXPECT_EQ(FormatText("Error %d", -2147024891), "Error -2147024891");
    EXPECT_EQ(FormatText("%d", std::uint64_t{18446744073709551615ull}), "18446744073709551615");
}

TEST(FormatText, NeverRescansValuesAndLeavesOtherPercentSignsAlone) {
    EXPECT_EQ(FormatText("Cannot open file %s", "50%d %s.txt"), "Cannot open file 50%d %s.txt");
    EXPECT_EQ(FormatText("%s and %s", "%s", "x"), "%s and x");
    EXPECT_EQ(FormatText("100% sure, %x, %%, %"), "100% sure, %x, %%, %");
    EXPECT_EQ(FormatText("No value for %s or %d"), "No value for %s or %d");
    EXPECT_EQ(FormatText("No placeholder", "extra", 1), "No placeholder");
    EXPECT_EQ(FormatText("", "x"), "");
    const char* none = nullptr;
    EXPECT_EQ(FormatText("[%s]", none), "[]");
}

TEST(TextCase, FoldsOnlyAsciiLettersAndComparesBytesUnsigned) {
    EXPECT_EQ(LowerCaseAscii("ReadMe.TXT \xC9"), "readme.txt \xC9");
    EXPECT_TRUE(SameText("SETUP.EXE", "setup.exe"));
    EXPECT_FALSE(SameText("\xC9", "\xE9"));
    EXPECT_GT(CompareTextAscii("a_", "AB"), 0);  // letters compare as capitals, below "_"
    EXPECT_LT(CompareTextAscii("z", "\xE9"), 0);
    EXPECT_LT(CompareTextAscii("abc", "ABCD"), 0);
    EXPECT_EQ(CompareTextAscii("", ""), 0);
}

TEST(FilePath, AddsAndRemovesOneTrailingBackslash) {
    EXPECT_EQ(AddBackslash(""), "");
    EXPECT_EQ(AddBackslash("C:"), "C:\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddBackslash("C:\\Dir"), "C:\\Dir\\");
    EXPECT_EQ(RemoveBackslash("C:\\"), "C:");
    EXPECT_EQ(RemoveBackslash("C:\\Dir\\\\"), "C:\\Dir\\");
    EXPECT_EQ(RemoveBackslash("C:\\Dir"), "C:\\Dir");
    EXPECT_EQ(RemoveBackslash("\\"), "");
    EXPECT_EQ(RemoveBackslash(""), "");
}

TEST(FilePath, SplitsAtTheLastBackslashOrColon) {
    struct Split {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Split cases[] = {{"C:\\Dir\\File.txt", "C:\\Dir\\", "File.txt"},
                           {"C:File.txt", "C:", "File.txt"},
                           {"File.txt", "", "File.txt"},
                           {"C:\\Dir\\", "C:\\Dir\\", ""}};
    for (const Split& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    }
}

TEST(FilePath, ChangeFileExtLooksOnlyAtTheFileName) {
    const char* const cases[][2] = {{"C:\\Dir\\App.HLP", "C:\\Dir\\App.GID"},
                                    {"C:\\Dir.v2\\App", "C:\\Dir.v2\\App.GID"},
                                    {"C:.x\\App.tar.gz", "C:.x\\App.tar.GID"},
                                    {"A:App", "A:App.GID"}};
    for (const auto& c : cases) EXPECT_EQ(ChangeFileExt(c[0], ".GID"), c[1]) << c[0];
}

}  // namespace
}  // namespace pelorin
