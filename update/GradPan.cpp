// TGradPan's window: painting in the panel's order (background, picture or gradient, caption
// passes, bevels), the movable panel's hit test, its clicks and the move notification.
#include "update/GradPan.h"

#include "ui/Form.h"

namespace pelorin {

namespace {

// Redrawn whole when resized; no cursor of the class, the panel sets its own.
const TCustomControl::WindowClass kGradPanClass{"PelorinGradPan", CS_HREDRAW | CS_VREDRAW, nullptr};

DWORD BorderStyleBits(TBorderStyle style) { return style == TBorderStyle::bsSingle ? WS_BORDER : 0; }

LRESULT HitCode(THitZone zone) {
    switch (zone) {
    case THitZone::TopLeft: return HTTOPLEFT;
    case THitZone::BottomLeft: return HTBOTTOMLEFT;
    case THitZone::Left: return HTLEFT;
    case THitZone::TopRight: return HTTOPRIGHT;
    case THitZone::BottomRight: return HTBOTTOMRIGHT;
    case THitZone::Right: return HTRIGHT;
    case THitZone::Top: return HTTOP;
    case THitZone::Bottom: return HTBOTTOM;
    case THitZone::Caption: return HTCAPTION;
    }
    return HTCLIENT;
}

UINT TextAlignFlags(TTextAlign align) {
    switch (align) {
    case TTextAlign::Left: return TA_LEFT | TA_TOP;
    case TTextAlign::Right: return TA_RIGHT | TA_TOP;
    case TTextAlign::Center: return TA_CENTER | TA_TOP;
    }
    return TA_LEFT | TA_TOP;
}

}  // namespace

TGradPan::TGradPan(TForm& parent, const Bounds& bounds)
    : TCustomControl(parent, kGradPanClass, WS_CLIPSIBLINGS, bounds) {
    SetFont(font_);
    MakeDefaultBitmap();
}

void TGradPan::MakeDefaultBitmap() {
    GdiHandle picture;
    {
        const ClientDc screen(nullptr);
        const MemoryDc dc(screen.get());
        picture.reset(::CreateCompatibleBitmap(screen.get(), 50, 50));
        const SelectedObject bitmap(dc.get(), picture.get());
        const SelectedObject brush(dc.get(), ::GetStockObject(WHITE_BRUSH));
        const SelectedObject pen(dc.get(), ::GetStockObject(BLACK_PEN));
        const RECT all{0, 0, 50, 50};
        ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::Rectangle(dc.get(), 0, 0, 49, 49);
    }
    bitmap_ = std::move(picture);
    bitmapSize_ = SIZE{50, 50};
}

void TGradPan::SetBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
        bitmap_.reset();
        bitmapSize_ = SIZE{0, 0};
    } else {
        bitmap_.reset(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
        bitmapSize_ = bitmap_ ? SIZE{info.bmWidth, info.bmHeight} : SIZE{0, 0};
    }
    if (backGroundEffect_ == TDirection::bdStretchImage || backGroundEffect_ == TDirection::bdTileImage) Repaint();
}

#define PELORIN_GRADPAN_SETTER(Name, Type, member) \
    void TGradPan::Set##Name(Type value) {         \
        member = value;                            \
        Repaint();                                 \
    }
PELORIN_GRADPAN_SETTER(BackGroundEffect, TDirection, backGroundEffect_)
PELORIN_GRADPAN_SETTER(ColorStart, TColor, colorStart_)
PELORIN_GRADPAN_SETTER(ColorEnd, TColor, colorEnd_)
PELORIN_GRADPAN_SETTER(ColorShadow, TColor, colorShadow_)
PELORIN_GRADPAN_SETTER(Ctl3D, bool, ctl3D_)
PELORIN_GRADPAN_SETTER(TextEffect, TTextEffect, textEffect_)
PELORIN_GRADPAN_SETTER(TextRotation, TTextRotation, textRotation_)
PELORIN_GRADPAN_SETTER(VertAlign, TVertAlign, vertAlign_)
PELORIN_GRADPAN_SETTER(Alignment, TAlignment, alignment_)
PELORIN_GRADPAN_SETTER(BevelInner, TBevelCut, bevelInner_)
PELORIN_GRADPAN_SETTER(BevelOuter, TBevelCut, bevelOuter_)
PELORIN_GRADPAN_SETTER(BevelWidth, int, bevelWidth_)
PELORIN_GRADPAN_SETTER(BorderWidth, int, borderWidth_)
PELORIN_GRADPAN_SETTER(Color, TColor, color_)
#undef PELORIN_GRADPAN_SETTER

void TGradPan::SetBorderStyle(TBorderStyle value) {
    borderStyle_ = value;
    const HWND wnd = Handle();
    const LONG_PTR style = (::GetWindowLongPtrA(wnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER)) |
                           static_cast<LONG_PTR>(BorderStyleBits(value));
    ::SetWindowLongPtrA(wnd, GWL_STYLE, style);
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Repaint();
}

void TGradPan::SetFont(const TGradPanFont& font) {
    font_ = font;
    fontHandle_ = PointFont(font.Name, font.Size, FontStyle{font.Bold, font.Italic});
    Repaint();
}

void TGradPan::SetCursor(LPCSTR systemCursor) { cursor_ = systemCursor; }

void TGradPan::Fill(HDC dc, const RECT& r, COLORREF color) {
    GdiHandle brush(::CreateSolidBrush(color));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

void TGradPan::PaintTo(HDC dc) {
    RECT outer{};
    ::GetWindowRect(Handle(), &outer);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    const SelectedObject font(dc, fontHandle_.get());
    const GdiHandle pen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    const SelectedObject penSelection(dc, pen.get());
    ::SetROP2(dc, R2_COPYPEN);

    // The panel's own background first; the effects paint over it.
    RECT client{};
    ::GetClientRect(Handle(), &client);
    Fill(dc, client, ColorToRGB(color_));
    switch (backGroundEffect_) {
    case TDirection::bdFlat: Fill(dc, RECT{0, 0, w, h}, ColorToRGB(colorStart_)); break;
    case TDirection::bdStretchImage:
    case TDirection::bdTileImage: PaintPicture(dc, w, h); break;
    default: PaintGradient(dc, w, h); break;
    }
    ::SetBkMode(dc, TRANSPARENT);
    PaintCaption(dc, w, h);
    PaintBevels(dc, w, h);
}

void TGradPan::PaintGradient(HDC dc, int w, int h) {
    const bool reversed = backGroundEffect_ == TDirection::bdDown || backGroundEffect_ == TDirection::bdRight ||
                          backGroundEffect_ == TDirection::bdHorzOut || backGroundEffect_ == TDirection::bdVertOut;
    const TColorTable table = reversed ? GradientTable(colorEnd_, colorStart_) : GradientTable(colorStart_, colorEnd_);
    const bool horizontalBands = backGroundEffect_ == TDirection::bdUp || backGroundEffect_ == TDirection::bdDown ||
                                 backGroundEffect_ == TDirection::bdHorzIn ||
                                 backGroundEffect_ == TDirection::bdHorzOut;
    const bool mirrored = backGroundEffect_ == TDirection::bdHorzIn || backGroundEffect_ == TDirection::bdHorzOut ||
                          backGroundEffect_ == TDirection::bdVertIn || backGroundEffect_ == TDirection::bdVertOut;
    const int length = horizontalBands ? h : w;
    for (int k = 0; k < kGradientBands; ++k) {
        const int from = BandEdge(k, length), to = BandEdge(k + 1, length);
        const RECT band = horizontalBands ? RECT{0, from, w, to} : RECT{from, 0, to, h};
        Fill(dc, band, table[static_cast<std::size_t>(mirrored ? MirroredEntry(k) : k)]);
    }
}

void TGradPan::PaintPicture(HDC dc, int w, int h) {
    if (!bitmap_ || bitmapSize_.cx <= 0 || bitmapSize_.cy <= 0) {
        Fill(dc, RECT{0, 0, w, h}, ColorToRGB(colorStart_));
        return;
    }
    const int e = ctl3D_ ? 2 * bevelWidth_ + borderWidth_ : 0;
    const MemoryDc source(dc);
    const SelectedObject picture(source.get(), bitmap_.get());
    const int bw = bitmapSize_.cx, bh = bitmapSize_.cy;
    if (backGroundEffect_ == TDirection::bdStretchImage) {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, e, e, w - 2 * e - 1, h - 2 * e - 1, source.get(), 0, 0, bw, bh, SRCCOPY);
        return;
    }
    const TileGrid grid = TileCount(w, h, e, bw, bh);
    for (int c = 0; c < grid.columns; ++c) {
        for (int r = 0; r < grid.rows; ++r) ::BitBlt(dc, e + c * bw, e + r * bh, bw, bh, source.get(), 0, 0, SRCCOPY);
    }
}

void TGradPan::PaintCaption(HDC dc, int w, int h) {
    const std::string& text = Caption();
    if (text.empty()) return;
    SIZE sample{};
    ::GetTextExtentPoint32A(dc, "^_", 2, &sample);
    const CaptionPlacement at =
        CaptionPosition(textRotation_, alignment_, vertAlign_, bevelWidth_ + borderWidth_, sample.cy, w, h);
    ::SetTextAlign(dc, TextAlignFlags(at.align));

    // The rotated passes draw through a font made from the current one; the whole caption is
    // handed over with its length, so captions of any length are drawn without a fixed buffer.
    GdiHandle rotated;
    if (textRotation_ != TTextRotation::trNone) {
        LOGFONTA lf{};
        ::GetObjectA(::GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
        lf.lfEscapement = textRotation_ == TTextRotation::TrUp ? 900 : 2700;
        rotated.reset(::CreateFontIndirectA(&lf));
    }
    const COLORREF colors[] = {ColorToRGB(colorShadow_), RGB(0, 0, 0), ColorToRGB(font_.Color)};
    const int length = static_cast<int>(text.size());
    for (const CaptionPass& pass : CaptionPasses(textEffect_)) {
        ::SetTextColor(dc, colors[static_cast<int>(pass.color)]);
        if (rotated) {
            const SelectedObject font(dc, rotated.get());
            ::TextOutA(dc, at.x + pass.dx, at.y + pass.dy, text.c_str(), length);
        } else {
            ::TextOutA(dc, at.x + pass.dx, at.y + pass.dy, text.c_str(), length);
        }
    }
}

void TGradPan::PaintBevels(HDC dc, int w, int h) {
    GdiHandle light(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    GdiHandle dark(::CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
    for (const BevelLine& line : BevelLines(bevelOuter_, bevelInner_, bevelWidth_, borderWidth_, w, h)) {
        const SelectedObject pen(dc, line.light ? light.get() : dark.get());
        ::MoveToEx(dc, line.x1, line.y1, nullptr);
        ::LineTo(dc, line.x2, line.y2);
    }
    if (!ctl3D_ || bevelInner_ == TBevelCut::bvNone) return;
    const int a = bevelOuter_ != TBevelCut::bvNone ? bevelWidth_ - 1 : 0;
    GdiHandle brush(::CreateSolidBrush(ColorToRGB(color_)));
    for (int i = 1; i <= borderWidth_; ++i) {
        const RECT frame{a + i, a + i, w - i - a, h - i - a};
        ::FrameRect(dc, &frame, static_cast<HBRUSH>(brush.get()));
    }
}

void TGradPan::Paint(HDC dc, const RECT&) { PaintTo(dc); }

// Erasing and painting are the drawn control's; the panel is hit and clicked as a window of its
// own, not through the form.
LRESULT TGradPan::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND wnd = Handle();
    switch (msg) {
    case WM_NCHITTEST: {
        if (!Moveable) return ::DefWindowProcA(wnd, msg, wParam, lParam);
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(wnd, &p);
        RECT outer{};
        ::GetWindowRect(wnd, &outer);
        return HitCode(HitZone(p.x, p.y, outer.right - outer.left, outer.bottom - outer.top, Marge));
    }
    case WM_MOVE:
        if (OnPanelMove) OnPanelMove(*this);
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorA(nullptr, cursor_));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN: pressed_ = true; return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            if (OnClick) OnClick(*this);
        }
        return 0;
    default: break;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

}  // namespace pelorin
