// The status-line shortening of the folder browser and the cutting of the program
// manager's group list into names.
#include <gtest/gtest.h>

#include "setup/wizard/GroupNames.h"
#include "setup/wizard/StatusPath.h"

namespace pelorin {
namespace {

TEST(ShortenStatusPath, ShortPathsStayAsTheyAre) {
    const std::string thirty = "C:\\Program Files\\Pelorin\\Tools";
    ASSERT_EQ(30u, thirty.size());
    EXPECT_EQ(thirty, ShortenStatusPath(thirty));
    const std::string thirtyFive = "C:\\Program Files\\Pelorin\\Tools\\Bin1";
    ASSERT_EQ(35u, thirtyFive.size());
    EXPECT_EQ(thirtyFive, ShortenStatusPath(thirtyFive));
    EXPECT_EQ("", ShortenStatusPath(""));
}

TEST(ShortenStatusPath, SecondPartBecomesDotsThenInnerPartsGo) {
    EXPECT_EQ("C:\\...\\Common Files\\System\\Ole", ShortenStatusPath("C:\\Program Files\\Common Files\\System\\Ole"));
    // Still too long with the dots: the third part goes, then the next one in its place.
    EXPECT_EQ("C:\\...\\System\\Ole", ShortenStatusPath("C:\\Program Files\\Common Files Of Many Kinds\\System\\Ole"));
    EXPECT_EQ("C:\\...\\Ole",
              ShortenStatusPath("C:\\Program Files\\Common Files Of Many Kinds\\A Very Long Folder Name Here\\Ole"));
}

TEST(ShortenStatusPath, PathsThatCannotBeCutEnoughStayLong) {
    // Two parts: nothing to replace.
    const std::string twoParts = "C:\\A folder name much longer than the line is";
    EXPECT_EQ(twoParts, ShortenStatusPath(twoParts));
    // Three parts: only the dots, the last part is never dropped.
    EXPECT_EQ("C:\\...\\A last folder name much longer than the line",
              ShortenStatusPath("C:\\Windows\\A last folder name much longer than the line"));
    EXPECT_EQ("\\...\\Very Long Share Name Of A Server",
              ShortenStatusPath("\\\\server\\Very Long Share Name Of A Server"));
}

TEST(SplitGroupNames, OneNamePerLine) {
    EXPECT_EQ((std::vector<std::string>{"Accessories", "Games"}), SplitGroupNames("Accessories\r\nGames\r\n"));
    EXPECT_EQ((std::vector<std::string>{"Accessories", "Startup"}), SplitGroupNames("Accessories\r\nStartup"));
    EXPECT_EQ((std::vector<std::string>{"Main Group, \"quoted\""}), SplitGroupNames("Main Group, \"quoted\"\r\n"));
}

TEST(SplitGroupNames, NothingFromEmptyLinesOrAnEmptyAnswer) {
    EXPECT_TRUE(SplitGroupNames("").empty());
    EXPECT_TRUE(SplitGroupNames("\r\n\r\n").empty());
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), SplitGroupNames("A\r\n\r\nB\r\n"));
    // A carriage return at the very end: the scan stops, it reads nothing beyond.
    EXPECT_EQ((std::vector<std::string>{"A"}), SplitGroupNames("A\r"));
}

}  // namespace
}  // namespace pelorin
