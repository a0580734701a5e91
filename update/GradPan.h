// TGradPan: a panel that paints its own background (flat, eight gradients, a stretched or
// tiled bitmap), then its caption with a shadow, raised, lowered or embossed look, then bevels.
// Its windows answer to the class name "PelorinGradPan"; unlike other drawn controls it takes
// its own clicks and hit test.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/Handles.h"
#include "ui/CustomControl.h"
#include "ui/Events.h"
#include "ui/Graphics.h"
#include "update/GradPanGeometry.h"

namespace pelorin {

// Colours (TColor, ColorToRGB) are the window layer's, ui/Graphics.h.

// The font a panel draws its caption in.
struct TGradPanFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points
    bool Bold = false;
    bool Italic = false;
    TColor Color = clWindowText;
};

class TGradPan : public TCustomControl {
public:
    TGradPan(TForm& parent, const Bounds& bounds);

    // The panel's own properties, with their defaults in the comments.
    TDirection BackGroundEffect() const { return backGroundEffect_; }
    void SetBackGroundEffect(TDirection value);  // bdVertIn
    TColor ColorStart() const { return colorStart_; }
    void SetColorStart(TColor value);  // teal, RGB(0, 128, 128)
    TColor ColorEnd() const { return colorEnd_; }
    void SetColorEnd(TColor value);  // white
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor value);  // grey, RGB(128, 128, 128)
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);  // false
    TTextEffect TextEffect() const { return textEffect_; }
    void SetTextEffect(TTextEffect value);  // teShadow
    TTextRotation TextRotation() const { return textRotation_; }
    void SetTextRotation(TTextRotation value);  // trNone
    TVertAlign VertAlign() const { return vertAlign_; }
    void SetVertAlign(TVertAlign value);  // vlCenter
    int Marge = 6;
    bool Moveable = false;
    TNotifyEvent OnPanelMove;
    TNotifyEvent OnClick;

    // The owned picture: a copy of the given bitmap is kept. Empty when its size is 0 x 0.
    HBITMAP Bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    void SetBitmap(HBITMAP bitmap);
    SIZE BitmapSize() const { return bitmapSize_; }

    // The panel properties it inherits, as a panel has them.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);  // taCenter
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);  // bvNone
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);  // bvRaised
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);  // 1
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);  // 0
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);  // bsNone
    TColor Color() const { return color_; }
    void SetColor(TColor value);  // clBtnFace
    const TGradPanFont& Font() const { return font_; }
    void SetFont(const TGradPanFont& font);
    // The cursor shown over the panel, a system cursor (IDC_ARROW by default, IDC_HAND for a link).
    void SetCursor(LPCSTR systemCursor);

    // Paints into a device context the size of the panel (the window's own painting, or a test's).
    void PaintTo(HDC dc);
    void Paint(HDC dc, const RECT& client) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void MakeDefaultBitmap();
    void PaintGradient(HDC dc, int w, int h);
    void PaintPicture(HDC dc, int w, int h);
    void PaintCaption(HDC dc, int w, int h);
    void PaintBevels(HDC dc, int w, int h);
    void Fill(HDC dc, const RECT& r, COLORREF color);

    TDirection backGroundEffect_ = TDirection::bdVertIn;
    TColor colorStart_ = Rgb(0, 128, 128);
    TColor colorEnd_ = Rgb(255, 255, 255);
    TColor colorShadow_ = Rgb(128, 128, 128);
    bool ctl3D_ = false;
    TTextEffect textEffect_ = TTextEffect::teShadow;
    TTextRotation textRotation_ = TTextRotation::trNone;
    TVertAlign vertAlign_ = TVertAlign::vlCenter;
    TAlignment alignment_ = TAlignment::taCenter;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
    TColor color_ = clBtnFace;
    TGradPanFont font_;
    PointFont fontHandle_;
    GdiHandle bitmap_;
    SIZE bitmapSize_{0, 0};
    LPCSTR cursor_ = IDC_ARROW;
    bool pressed_ = false;
};

}  // namespace pelorin
