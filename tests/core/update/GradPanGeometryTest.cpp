// The gradient panel's arithmetic: the 40-bit colour step, band edges with halves rounded
// away from zero, mirrored bands, tiles, caption positions and passes, hit zones and bevels.
#include <gtest/gtest.h>

#include "update/GradPanGeometry.h"

namespace pelorin {
namespace {

int Red(TColorRef c) { return static_cast<int>(c & 0xFF); }
int Green(TColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(TColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

TEST(GradPanGeometryTest, ColourTableStepsWithTheFortyBitStep) {
    const TColorTable up = GradientTable(Rgb(0, 0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(up[0], Rgb(0, 0, 0));
    EXPECT_EQ(Red(up[20]), 50);  // 20 x 2.55 falls just short of 51 with the stored step
    EXPECT_EQ(Red(up[10]), 25);
    EXPECT_EQ(Red(up[99]), 252);  // one step short of the end colour

    // Downwards and per channel; the high byte (a system colour mark) is ignored.
    const TColorTable down = GradientTable(0xFF000000u | Rgb(255, 128, 0), Rgb(0, 128, 100));
    EXPECT_EQ(down[0], Rgb(255, 128, 0));
    EXPECT_EQ(Red(down[20]), 204);
    EXPECT_EQ(Green(down[50]), 128);
    EXPECT_EQ(Blue(down[50]), 50);
    EXPECT_EQ(Blue(down[99]), 99);
}

TEST(GradPanGeometryTest, BandEdgesRoundHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 50, 100), 1);  // 0.5
    EXPECT_EQ(MulDiv(3, 50, 100), 2);  // 1.5
    EXPECT_EQ(MulDiv(-1, 50, 100), -1);
    EXPECT_EQ(MulDiv(7, 10, 0), -1);
    // 100 pixels: every band one pixel high; 50 pixels: bands of 0 or 1 pixel, 50 of each.
    int empty = 0;
    for (int k = 0; k < kGradientBands; ++k) {
        EXPECT_EQ(BandEdge(k + 1, 100) - BandEdge(k, 100), 1);
        const int height = BandEdge(k + 1, 50) - BandEdge(k, 50);
        EXPECT_TRUE(height == 0 || height == 1);
        empty += height == 0;
    }
    EXPECT_EQ(empty, 50);
    EXPECT_EQ(BandEdge(0, 50), 0);
    EXPECT_EQ(BandEdge(1, 50) - BandEdge(0, 50), 1);  // 0.5 rounds up: band 0 is not empty
    EXPECT_EQ(BandEdge(100, 265), 265);
}

TEST(GradPanGeometryTest, MirroredBandsTakeOddEntriesInAndEvenEntriesOut) {
    EXPECT_EQ(MirroredEntry(0), 1);
    EXPECT_EQ(MirroredEntry(49), 99);
    EXPECT_EQ(MirroredEntry(50), 98);
    EXPECT_EQ(MirroredEntry(99), 0);
    // Black edges, near-white middle for black to white.
    const TColorTable table = GradientTable(Rgb(0, 0, 0), Rgb(255, 255, 255));
    EXPECT_LE(Red(table[MirroredEntry(0)]), 2);
    EXPECT_GE(Red(table[MirroredEntry(49)]), 250);
    EXPECT_EQ(table[MirroredEntry(99)], Rgb(0, 0, 0));
}

TEST(GradPanGeometryTest, TilesCoverThePanelPastItsEdges) {
    const TileGrid side = TileCount(121, 265, 0, 50, 50);
    EXPECT_EQ(side.columns, 3);
    EXPECT_EQ(side.rows, 6);
    const TileGrid inset = TileCount(121, 265, 5, 50, 50);
    EXPECT_EQ(inset.columns, 3);
    EXPECT_EQ(inset.rows, 6);
    EXPECT_EQ(TileCount(100, 100, 0, 50, 50).columns, 3);
    EXPECT_EQ(TileCount(121, 265, 0, 0, 0).columns, 0);
    EXPECT_EQ(TileCount(10, 10, 20, 50, 50).columns, 1);  // the division truncates toward zero
    EXPECT_EQ(TileCount(10, 10, 40, 50, 50).columns, 0);  // nothing drawn
}

TEST(GradPanGeometryTest, CaptionPositionsForTheThreeRotations) {
    using A = TAlignment;
    using V = TVertAlign;
    using R = TTextRotation;
    const auto at = [](R r, A a, V v) { return CaptionPosition(r, a, v, 3, 13, 121, 265); };
    auto p = at(R::trNone, A::taLeftJustify, V::vlTop);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 5);
    EXPECT_EQ(p.align, TTextAlign::Left);
    p = at(R::trNone, A::taCenter, V::vlCenter);
    EXPECT_EQ(p.x, 60);
    EXPECT_EQ(p.y, 132 - 6);
    EXPECT_EQ(p.align, TTextAlign::Center);
    p = at(R::trNone, A::taRightJustify, V::VlBottom);
    EXPECT_EQ(p.x, 116);
    EXPECT_EQ(p.y, 265 - 3 - 13 - 1);
    EXPECT_EQ(p.align, TTextAlign::Right);

    p = at(R::TrUp, A::taRightJustify, V::vlTop);  // reading upwards: the text ends at the top
    EXPECT_EQ(p.x, 121 - 3 - 13 - 1);
    EXPECT_EQ(p.y, 5);
    EXPECT_EQ(p.align, TTextAlign::Right);
    p = at(R::TrUp, A::taCenter, V::VlBottom);
    EXPECT_EQ(p.x, 60 - 6);
    EXPECT_EQ(p.y, 261);
    EXPECT_EQ(p.align, TTextAlign::Left);

    p = at(R::TrDown, A::taLeftJustify, V::vlTop);
    EXPECT_EQ(p.x, 13 + 3 + 1);
    EXPECT_EQ(p.y, 4);
    EXPECT_EQ(p.align, TTextAlign::Left);
    p = at(R::TrDown, A::taCenter, V::VlBottom);
    EXPECT_EQ(p.x, 6 + 60);
    EXPECT_EQ(p.y, 260);
    EXPECT_EQ(p.align, TTextAlign::Right);
    EXPECT_EQ(at(R::TrDown, A::taRightJustify, V::vlCenter).x, 116);
}

TEST(GradPanGeometryTest, CaptionPassesEndInTheFontColourExceptForNone) {
    const auto none = CaptionPasses(TTextEffect::tenone);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].color, TPassColor::Shadow);
    const auto shadow = CaptionPasses(TTextEffect::teShadow);
    ASSERT_EQ(shadow.size(), 2u);
    EXPECT_EQ(shadow[0].dx, 1);
    EXPECT_EQ(shadow[0].dy, 1);
    for (TTextEffect e : {TTextEffect::teRaised, TTextEffect::teLowered, TTextEffect::teEmbossed}) {
        const auto passes = CaptionPasses(e);
        ASSERT_EQ(passes.size(), 5u);
        EXPECT_EQ(passes.back().color, TPassColor::Font);
        EXPECT_EQ(passes.back().dx, 0);
    }
    EXPECT_EQ(CaptionPasses(TTextEffect::teRaised)[2].color, TPassColor::Black);
    EXPECT_EQ(CaptionPasses(TTextEffect::teRaised)[2].dx, 1);
    EXPECT_EQ(CaptionPasses(TTextEffect::teLowered)[2].dx, -1);
}

TEST(GradPanGeometryTest, HitZonesOfAMovablePanel) {
    const auto zone = [](int x, int y) { return HitZone(x, y, 100, 80, 6); };
    EXPECT_EQ(zone(3, 3), THitZone::TopLeft);
    EXPECT_EQ(zone(3, 77), THitZone::BottomLeft);
    EXPECT_EQ(zone(3, 40), THitZone::Left);
    EXPECT_EQ(zone(97, 3), THitZone::TopRight);
    EXPECT_EQ(zone(97, 77), THitZone::BottomRight);
    EXPECT_EQ(zone(95, 40), THitZone::Right);  // 100 - 95 = 5 < 6
    EXPECT_EQ(zone(94, 40), THitZone::Caption);
    EXPECT_EQ(zone(50, 5), THitZone::Top);
    EXPECT_EQ(zone(50, 75), THitZone::Bottom);
    EXPECT_EQ(zone(6, 6), THitZone::Caption);
    EXPECT_EQ(zone(-2, 40), THitZone::Left);  // presses on a frame outside the client area
}

TEST(GradPanGeometryTest, BevelsFrameOuterThenInner) {
    // Raised outer bevel of width 2: light top and left lines first, then dark bottom and right.
    const auto outer = BevelLines(TBevelCut::bvRaised, TBevelCut::bvNone, 2, 0, 50, 40);
    ASSERT_EQ(outer.size(), 8u);
    EXPECT_TRUE(outer[0].light);
    EXPECT_EQ(outer[2].x1, 1);
    EXPECT_EQ(outer[2].y2, 1);
    EXPECT_FALSE(outer[4].light);
    EXPECT_EQ(outer[4].y1, 39);
    EXPECT_EQ(outer[7].x1, 48);
    // Inner bevel without an outer one starts at 1 + BorderWidth.
    const auto inner = BevelLines(TBevelCut::bvNone, TBevelCut::bvLowered, 1, 3, 50, 40);
    ASSERT_EQ(inner.size(), 4u);
    EXPECT_FALSE(inner[0].light);
    EXPECT_EQ(inner[0].x1, 4);
    EXPECT_EQ(inner[3].x1, 45);
    EXPECT_TRUE(inner[3].light);
    EXPECT_TRUE(BevelLines(TBevelCut::bvNone, TBevelCut::bvNone, 1, 0, 50, 40).empty());
}

}  // namespace
}  // namespace pelorin
