// Drawn controls of the window layer: TPanel (coloured area with border and bevels), TBevel
// (sunken or raised lines and boxes) and TImage (a bitmap). Setters repaint at once.
#pragma once

#include <string>

#include "platform/win/Handles.h"
#include "ui/CustomControl.h"
#include "ui/Graphics.h"

namespace pelorin {

enum TPanelBevel { bvNone, bvLowered, bvRaised };

// Controls that lie on a panel are placed on the same form at the panel's position plus their
// own; they are created after the panel, so they lie above it.
class TPanel : public TCustomControl {
public:
    TPanel(TForm& parent, const Bounds& bounds);

    // Defaults: Color clBtnFace, BorderStyle bsNone, BevelOuter bvRaised, BevelInner bvNone.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);

    void Paint(HDC dc, const RECT& client) override;

private:
    TColor color_ = clBtnFace;
    TBorderStyle borderStyle_ = bsNone;
    TPanelBevel bevelOuter_ = bvRaised;
    TPanelBevel bevelInner_ = bvNone;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TCustomControl {
public:
    TBevel(TForm& parent, const Bounds& bounds);

    // Defaults: Shape bsBox, Style bsLowered.
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

    void Paint(HDC dc, const RECT& client) override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

class TImage : public TCustomControl {
public:
    TImage(TForm& parent, const Bounds& bounds);

    // The bitmap resource of the program's own module (a name, or an identifier through
    // MAKEINTRESOURCE). False, and no picture, when it does not exist.
    bool LoadFromResource(const char* name);
    bool LoadFromResource(int id);
    // Takes ownership of bitmap (may be null: no picture).
    void SetBitmap(HBITMAP bitmap);
    HBITMAP Bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    SIZE PictureSize() const;

    // Defaults: Center false (picture at the top left), Stretch false.
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    void Paint(HDC dc, const RECT& client) override;

private:
    GdiHandle bitmap_;
    bool center_ = false;
    bool stretch_ = false;
};

}  // namespace pelorin
