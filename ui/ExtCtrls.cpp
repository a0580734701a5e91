// TPanel, TBevel and TImage: the drawing of each, with platform edges for bevels and the
// parent form's palette for pictures.
#include "ui/ExtCtrls.h"

#include "ui/Form.h"

namespace pelorin {

namespace {

UINT EdgeOf(TPanelBevel bevel) { return bevel == bvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER; }

}  // namespace

TPanel::TPanel(TForm& parent, const Bounds& bounds) : TCustomControl(parent, 0, bounds) {}

void TPanel::SetColor(TColor color) { SetAndRepaint(color_, color); }

void TPanel::SetBorderStyle(TBorderStyle style) { SetAndRepaint(borderStyle_, style); }

void TPanel::SetBevelOuter(TPanelBevel bevel) { SetAndRepaint(bevelOuter_, bevel); }

void TPanel::SetBevelInner(TPanelBevel bevel) { SetAndRepaint(bevelInner_, bevel); }

void TPanel::Paint(HDC dc, const RECT& client) {
    RECT r = client;
    if (borderStyle_ == bsSingle) {
        ::FrameRect(dc, &r, ::GetSysColorBrush(COLOR_WINDOWFRAME));
        ::InflateRect(&r, -1, -1);
    }
    if (bevelOuter_ != bvNone) ::DrawEdge(dc, &r, EdgeOf(bevelOuter_), BF_RECT | BF_ADJUST);
    if (bevelInner_ != bvNone) ::DrawEdge(dc, &r, EdgeOf(bevelInner_), BF_RECT | BF_ADJUST);
    GdiHandle brush(CreateColorBrush(color_));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.get()));
}

TBevel::TBevel(TForm& parent, const Bounds& bounds) : TCustomControl(parent, 0, bounds) {}

void TBevel::SetShape(TBevelShape shape) { SetAndRepaint(shape_, shape); }

void TBevel::SetStyle(TBevelStyle style) { SetAndRepaint(style_, style); }

void TBevel::Paint(HDC dc, const RECT& client) {
    FillParentBackground(dc, client);
    RECT r = client;
    const UINT etched = style_ == bsLowered ? EDGE_ETCHED : EDGE_BUMP;
    switch (shape_) {
    case bsBox: ::DrawEdge(dc, &r, style_ == bsLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT); break;
    case bsFrame: ::DrawEdge(dc, &r, etched, BF_RECT); break;
    case bsTopLine: ::DrawEdge(dc, &r, etched, BF_TOP); break;
    case bsBottomLine: ::DrawEdge(dc, &r, etched, BF_BOTTOM); break;
    case bsLeftLine: ::DrawEdge(dc, &r, etched, BF_LEFT); break;
    case bsRightLine: ::DrawEdge(dc, &r, etched, BF_RIGHT); break;
    }
}

TImage::TImage(TForm& parent, const Bounds& bounds) : TCustomControl(parent, 0, bounds) {}

bool TImage::LoadFromResource(const char* name) {
    SetBitmap(
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return bitmap_.valid();
}

bool TImage::LoadFromResource(int id) { return LoadFromResource(MAKEINTRESOURCEA(id)); }

void TImage::SetBitmap(HBITMAP bitmap) {
    bitmap_.reset(bitmap);
    Repaint();
}

SIZE TImage::PictureSize() const {
    BITMAP info{};
    if (!bitmap_ || !::GetObjectA(bitmap_.get(), sizeof info, &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void TImage::SetCenter(bool center) { SetAndRepaint(center_, center); }

void TImage::SetStretch(bool stretch) { SetAndRepaint(stretch_, stretch); }

void TImage::Paint(HDC dc, const RECT& client) {
    FillParentBackground(dc, client);
    if (!bitmap_) return;
    const SIZE size = PictureSize();
    const MemoryDc source(dc);
    const SelectedObject picture(source.get(), bitmap_.get());
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (stretch_) {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, 0, 0, width, height, source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
    } else {
        const int x = center_ ? (width - size.cx) / 2 : 0;
        const int y = center_ ? (height - size.cy) / 2 : 0;
        ::BitBlt(dc, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace pelorin
