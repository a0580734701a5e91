// TCustomControl: one window class for every self-drawn control; WM_PAINT goes to Paint with
// the parent form's palette selected, so that pictures and fills use its colours.
#include "ui/CustomControl.h"

#include "ui/Form.h"

namespace pelorin {

namespace {

const char* const kCustomControlClass = "PelorinCustomControl";

LRESULT CALLBACK CustomControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;             // Paint covers the whole client area
    case WM_NCHITTEST: return HTTRANSPARENT;  // clicks and keys belong to the form
    case WM_PAINT: {
        PAINTSTRUCT ps;
        const HDC dc = ::BeginPaint(wnd, &ps);
        auto* const control = dynamic_cast<TCustomControl*>(TControl::FromHandle(wnd));
        if (control) {
            const HPALETTE palette = control->ParentPalette();
            const HPALETTE old = palette ? ::SelectPalette(dc, palette, TRUE) : nullptr;
            if (palette) ::RealizePalette(dc);
            RECT client{};
            ::GetClientRect(wnd, &client);
            control->Paint(dc, client);
            if (old) ::SelectPalette(dc, old, TRUE);
        }
        ::EndPaint(wnd, &ps);
        return 0;
    }
    default: return ::DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

const char* RegisteredClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &CustomControlProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kCustomControlClass;
    // A second registration fails harmlessly with "class already exists".
    ::RegisterClassExA(&wc);
    return kCustomControlClass;
}

}  // namespace

TCustomControl::TCustomControl(TForm& parent, DWORD style, const Bounds& bounds)
    : TControl(parent, RegisteredClass(), style, bounds), parent_(parent) {}

void TCustomControl::FillParentBackground(HDC dc, const RECT& rect) const {
    auto brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrA(parent_.Handle(), GCLP_HBRBACKGROUND));
    if (!brush) brush = ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(dc, &rect, brush);
}

HPALETTE TCustomControl::ParentPalette() const { return parent_.GetPalette(); }

}  // namespace pelorin
