// TCustomControl: a child window that draws itself; derived controls implement Paint.
// Its window class paints without flicker (no erasing) and fills with the parent's background.
#pragma once

#include "ui/Control.h"

namespace pelorin {

class TCustomControl : public TControl {
public:
    // The window class of a control that answers to a class name of its own.
    struct WindowClass {
        const char* name;
        UINT style;     // class styles (CS_...)
        LPCSTR cursor;  // a system cursor, or none: the control sets its own
    };

    // Draws the control onto dc; client is the whole client area.
    virtual void Paint(HDC dc, const RECT& client) = 0;

    // The palette of the form the control sits on, or none; it is selected before Paint.
    HPALETTE ParentPalette() const;

protected:
    TCustomControl(TForm& parent, DWORD style, const Bounds& bounds);
    TCustomControl(TForm& parent, const WindowClass& windowClass, DWORD style, const Bounds& bounds);

    // The control's messages: no erasing, painting through Paint, and clicks and keys passed
    // to the form (a transparent hit test); the platform's handling for the rest. A control
    // that answers more overrides this and hands on what it leaves.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Fills rect with the background of the window the control sits on.
    void FillParentBackground(HDC dc, const RECT& rect) const;

private:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static const char* Registered(const WindowClass& windowClass);

    TForm& parent_;
};

}  // namespace pelorin
