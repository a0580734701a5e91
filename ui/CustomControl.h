// TCustomControl: a child window that draws itself; derived controls implement Paint.
// Its window class paints without flicker (no erasing) and fills with the parent's background.
#pragma once

#include "ui/Control.h"

namespace pelorin {

class TCustomControl : public TControl {
public:
    // Draws the control onto dc; client is the whole client area.
    virtual void Paint(HDC dc, const RECT& client) = 0;

    // The palette of the form the control sits on, or none; it is selected before Paint.
    HPALETTE ParentPalette() const;

protected:
    TCustomControl(TForm& parent, DWORD style, const Bounds& bounds);

    // Fills rect with the background of the window the control sits on.
    void FillParentBackground(HDC dc, const RECT& rect) const;

private:
    TForm& parent_;
};

}  // namespace pelorin
