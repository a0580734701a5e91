// The gradient panel's arithmetic. The colour step is kept to 40 significant bits, as the
// panel has always stored it, so that exact multiples may come out one lower (0..255 gives 50 at 20).
#include "update/GradPanGeometry.h"

#include <cmath>

namespace pelorin {

namespace {

// The nearest number with a 40-bit significand, ties away from zero.
double To40Bits(double value) {
    if (value == 0.0 || !std::isfinite(value)) return value;
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);  // 0.5 <= |fraction| < 1
    return std::ldexp(std::round(std::ldexp(fraction, 40)), exponent - 40);
}

int Channel(TColorRef color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

}  // namespace

TColorTable GradientTable(TColorRef from, TColorRef to) {
    TColorTable table{};
    double step[3];
    for (int c = 0; c < 3; ++c) step[c] = To40Bits((Channel(to, 8 * c) - Channel(from, 8 * c)) / 100.0);
    for (int i = 0; i < kGradientBands; ++i) {
        TColorRef entry = 0;
        for (int c = 0; c < 3; ++c) {
            const int value = static_cast<int>(std::trunc(Channel(from, 8 * c) + i * step[c]));
            entry |= static_cast<TColorRef>(value & 0xFF) << (8 * c);
        }
        table[static_cast<std::size_t>(i)] = entry;
    }
    return table;
}

TileGrid TileCount(int width, int height, int inset, int bitmapWidth, int bitmapHeight) {
    if (bitmapWidth <= 0 || bitmapHeight <= 0) return {};
    return {(width - 2 * inset) / bitmapWidth + 1, (height - 2 * inset) / bitmapHeight + 1};
}

CaptionPlacement CaptionPosition(TTextRotation rotation, TAlignment alignment, TVertAlign vertAlign, int bw, int th,
                                 int w, int h) {
    CaptionPlacement p;
    switch (rotation) {
    case TTextRotation::trNone:
        switch (alignment) {
        case TAlignment::taLeftJustify: p.x = bw + 2, p.align = TTextAlign::Left; break;
        case TAlignment::taRightJustify: p.x = w - bw - 2, p.align = TTextAlign::Right; break;
        case TAlignment::taCenter: p.x = w / 2, p.align = TTextAlign::Center; break;
        }
        switch (vertAlign) {
        case TVertAlign::vlTop: p.y = bw + 2; break;
        case TVertAlign::vlCenter: p.y = h / 2 - th / 2; break;
        case TVertAlign::VlBottom: p.y = h - bw - th - 1; break;
        }
        break;
    case TTextRotation::TrUp:
        switch (alignment) {
        case TAlignment::taLeftJustify: p.x = bw + 2; break;
        case TAlignment::taRightJustify: p.x = w - bw - th - 1; break;
        case TAlignment::taCenter: p.x = w / 2 - th / 2; break;
        }
        switch (vertAlign) {
        case TVertAlign::vlTop: p.y = bw + 2, p.align = TTextAlign::Right; break;
        case TVertAlign::vlCenter: p.y = h / 2 - th / 2, p.align = TTextAlign::Center; break;
        case TVertAlign::VlBottom: p.y = h - bw - 1, p.align = TTextAlign::Left; break;
        }
        break;
    case TTextRotation::TrDown:
        switch (alignment) {
        case TAlignment::taLeftJustify: p.x = th + bw + 1; break;
        case TAlignment::taRightJustify: p.x = w - bw - 2; break;
        case TAlignment::taCenter: p.x = th / 2 + w / 2; break;
        }
        switch (vertAlign) {
        case TVertAlign::vlTop: p.y = bw + 1, p.align = TTextAlign::Left; break;
        case TVertAlign::vlCenter: p.y = h / 2 - th / 2, p.align = TTextAlign::Center; break;
        case TVertAlign::VlBottom: p.y = h - bw - 2, p.align = TTextAlign::Right; break;
        }
        break;
    }
    return p;
}

std::vector<CaptionPass> CaptionPasses(TTextEffect effect) {
    using C = TPassColor;
    switch (effect) {
    case TTextEffect::tenone: return {{0, 0, C::Shadow}};
    case TTextEffect::teShadow: return {{1, 1, C::Shadow}, {0, 0, C::Font}};
    case TTextEffect::teRaised:
        return {{-1, 0, C::Shadow}, {0, -1, C::Shadow}, {1, 0, C::Black}, {0, 1, C::Black}, {0, 0, C::Font}};
    case TTextEffect::teLowered:
        return {{1, 0, C::Shadow}, {0, 1, C::Shadow}, {-1, 0, C::Black}, {0, -1, C::Black}, {0, 0, C::Font}};
    case TTextEffect::teEmbossed:
        return {{-1, 0, C::Shadow}, {1, 0, C::Shadow}, {0, -1, C::Shadow}, {0, 1, C::Shadow}, {0, 0, C::Font}};
    }
    return {};
}

THitZone HitZone(int x, int y, int w, int h, int m) {
    if (x < m && y < m) return THitZone::TopLeft;
    if (x < m && h - y < m) return THitZone::BottomLeft;
    if (x < m) return THitZone::Left;
    if (w - x < m && y < m) return THitZone::TopRight;
    if (w - x < m && h - y < m) return THitZone::BottomRight;
    if (w - x < m) return THitZone::Right;
    if (y < m) return THitZone::Top;
    if (h - y < m) return THitZone::Bottom;
    return THitZone::Caption;
}

std::vector<BevelLine> BevelLines(TBevelCut outer, TBevelCut inner, int bevelWidth, int borderWidth, int w, int h) {
    std::vector<BevelLine> lines;
    if (outer != TBevelCut::bvNone) {
        const bool first = outer == TBevelCut::bvRaised;
        for (int i = 0; i < bevelWidth; ++i) {
            lines.push_back({i, i, w, i, first});
            lines.push_back({i, i, i, h, first});
        }
        for (int i = 0; i < bevelWidth; ++i) {
            lines.push_back({i, h - 1 - i, w - i, h - 1 - i, !first});
            lines.push_back({w - 1 - i, h - 1 - i, w - 1 - i, i, !first});
        }
    }
    const int o = (outer != TBevelCut::bvNone ? bevelWidth : 1) + borderWidth;
    if (inner != TBevelCut::bvNone) {
        const bool first = inner == TBevelCut::bvRaised;
        for (int i = 0; i < bevelWidth; ++i) {
            lines.push_back({o + i, o + i, w - o - i, o + i, first});
            lines.push_back({o + i, o + i, o + i, h - o - i, first});
        }
        for (int i = 0; i < bevelWidth; ++i) {
            lines.push_back({o + i, h - o - i - 1, w - o - i, h - o - i - 1, !first});
            lines.push_back({w - o - i - 1, h - o - 1, w - o - i - 1, o + i, !first});
        }
    }
    return lines;
}

}  // namespace pelorin
