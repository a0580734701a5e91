// The background picture's arithmetic: channel scaling with truncation, the band factors,
// the band edges, and the 74-character text.
#include <gtest/gtest.h>

#include "setup/Background.h"

namespace pelorin {
namespace {

TEST(BackgroundColour, ScalesEachChannelWithTruncationAndKeepsTheTopByte) {
    EXPECT_EQ(ScaleColor(0x00FFFFFF, 255), 0x00FFFFFFu);
    // 0x80 * 251 / 255 = 125.99 -> 125 (0x7D); 0x01 * 251 / 255 -> 0
    EXPECT_EQ(ScaleColor(0x00800180, 251), 0x007D007Du);
    EXPECT_EQ(ScaleColor(0x02FF0000, 3), 0x02030000u);
    EXPECT_EQ(ScaleColor(0x80000005, 3), 0x80000000u);
}

TEST(BackgroundColour, BandFactorsRunFrom255DownTo3) {
    EXPECT_EQ(BandFactor(0), 255);
    EXPECT_EQ(BandFactor(1), 251);
    EXPECT_EQ(BandFactor(63), 3);
    for (int i = 0; i < kBackgroundBands; ++i) EXPECT_EQ(BandFactor(i), 255 - 4 * i);
}

TEST(BackgroundBands, EdgesRoundToTheNearestPixelAndCoverTheArea) {
    EXPECT_EQ(BandTop(768, 0), 0);
    EXPECT_EQ(BandTop(768, 1), 12);  // 12.19
    EXPECT_EQ(BandTop(768, 5), 61);  // 60.95
    EXPECT_EQ(BandTop(768, 63), 768);
    EXPECT_EQ(BandTop(768, 64), 780);  // the last band lies below the client area
    EXPECT_EQ(BandTop(100, 32), 51);   // 50.79
    for (int i = 0; i < kBackgroundBands; ++i) EXPECT_LE(BandTop(600, i), BandTop(600, i + 1));
}

TEST(BackgroundText, IsCutTo74Characters) {
    EXPECT_EQ(BackgroundText("Widget 2"), "Installing Widget 2");
    const std::string longest(63, 'N');  // the longest name a description holds
    const std::string text = BackgroundText(longest);
    EXPECT_EQ(text.size(), 74u);
    EXPECT_EQ(text, "Installing " + longest);
    EXPECT_EQ(BackgroundText(std::string(80, 'x')).size(), 74u);
    EXPECT_EQ(BackgroundCaption("Widget 2"), "Widget 2 - Setup");
}

}  // namespace
}  // namespace pelorin
