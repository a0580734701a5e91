// The arithmetic of the gradient panel, free of any window: the colour table, band edges,
// mirrored bands, the tile grid, caption positions, caption passes and the hit-test zones.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/MulDiv.h"

namespace pelorin {

enum class TDirection {
    bdFlat,
    bdStretchImage,
    bdTileImage,
    bdUp,
    bdDown,
    bdLeft,
    bdRight,
    bdHorzIn,
    bdHorzOut,
    bdVertIn,
    bdVertOut
};
enum class TTextEffect { tenone, teShadow, teRaised, teLowered, teEmbossed };
enum class TTextRotation { trNone, TrUp, TrDown };
enum class TVertAlign { vlTop, vlCenter, VlBottom };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Colours as the platform stores them: red in the low byte, then green, then blue.
using TColorRef = std::uint32_t;
constexpr TColorRef Rgb(int r, int g, int b) {
    return static_cast<TColorRef>(r) | (static_cast<TColorRef>(g) << 8) | (static_cast<TColorRef>(b) << 16);
}

constexpr int kGradientBands = 100;
using TColorTable = std::array<TColorRef, kGradientBands>;

// Entry i holds from + i x step per channel, with the step (to - from) / 100 kept to a
// 40-bit significand; the high byte of both colours is ignored.
TColorTable GradientTable(TColorRef from, TColorRef to);

// Where band k of 100 across a length begins (band k ends where band k + 1 begins).
inline int BandEdge(int k, int length) { return MulDiv(k, length, kGradientBands); }
// The table entry of band k in the mirrored effects: odd entries outwards in, even ones back out.
inline int MirroredEntry(int band) { return band < kGradientBands / 2 ? 2 * band + 1 : 198 - 2 * band; }

struct TileGrid {
    int columns = 0;
    int rows = 0;
};
// Copies of a bitmap laid unscaled from (inset, inset); none when the bitmap is empty.
TileGrid TileCount(int width, int height, int inset, int bitmapWidth, int bitmapHeight);

// The platform's horizontal text alignment along the baseline direction; the point is the top.
enum class TTextAlign { Left, Right, Center };
struct CaptionPlacement {
    int x = 0;
    int y = 0;
    TTextAlign align = TTextAlign::Left;
};
// borderWidth is BevelWidth + BorderWidth; textHeight the height of the font's sample text.
CaptionPlacement CaptionPosition(TTextRotation rotation, TAlignment alignment, TVertAlign vertAlign, int borderWidth,
                                 int textHeight, int width, int height);

// One drawing of the caption at an offset, in the shadow colour, black or the font's colour.
enum class TPassColor { Shadow, Black, Font };
struct CaptionPass {
    int dx = 0;
    int dy = 0;
    TPassColor color = TPassColor::Font;
};
std::vector<CaptionPass> CaptionPasses(TTextEffect effect);

// Where a press on a movable panel lands (client coordinates), in testing order.
enum class THitZone { TopLeft, BottomLeft, Left, TopRight, BottomRight, Right, Top, Bottom, Caption };
THitZone HitZone(int x, int y, int width, int height, int marge);

// One-pixel bevel lines; a line excludes its end point.
struct BevelLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool light = false;
};
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
std::vector<BevelLine> BevelLines(TBevelCut outer, TBevelCut inner, int bevelWidth, int borderWidth, int width,
                                  int height);

}  // namespace pelorin
