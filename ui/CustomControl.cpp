// TCustomControl: one window procedure for every self-drawn control; WM_PAINT goes to Paint
// with the parent form's palette selected, so that pictures and fills use its colours.
#include "ui/CustomControl.h"

#include "ui/Form.h"
#include "ui/Graphics.h"

namespace pelorin {

namespace {

const char* const kCustomControlClass = "PelorinCustomControl";

}  // namespace

const char* TCustomControl::Registered(const WindowClass& windowClass) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = &TCustomControl::StaticWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = windowClass.cursor ? ::LoadCursorA(nullptr, windowClass.cursor) : nullptr;
    wc.lpszClassName = windowClass.name;
    // A second registration fails harmlessly with "class already exists".
    ::RegisterClassExA(&wc);
    return windowClass.name;
}

TCustomControl::TCustomControl(TForm& parent, DWORD style, const Bounds& bounds)
    : TCustomControl(parent, WindowClass{kCustomControlClass, 0, IDC_ARROW}, style, bounds) {}

TCustomControl::TCustomControl(TForm& parent, const WindowClass& windowClass, DWORD style, const Bounds& bounds)
    : TControl(parent, Registered(windowClass), style, bounds), parent_(parent) {}

LRESULT CALLBACK TCustomControl::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* const control = dynamic_cast<TCustomControl*>(TControl::FromHandle(wnd));
    if (!control) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    return control->WndProc(msg, wParam, lParam);
}

LRESULT TCustomControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: return 1;             // Paint covers the whole client area
    case WM_NCHITTEST: return HTTRANSPARENT;  // clicks and keys belong to the form
    case WM_PAINT: {
        const PaintDc dc(Handle());
        const SelectedPalette palette(dc.get(), ParentPalette(), true);
        palette.Realize();
        RECT client{};
        ::GetClientRect(Handle(), &client);
        Paint(dc.get(), client);
        return 0;
    }
    default: return ::DefWindowProcA(Handle(), msg, wParam, lParam);
    }
}

void TCustomControl::FillParentBackground(HDC dc, const RECT& rect) const {
    auto brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrA(parent_.Handle(), GCLP_HBRBACKGROUND));
    if (!brush) brush = ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(dc, &rect, brush);
}

HPALETTE TCustomControl::ParentPalette() const { return parent_.GetPalette(); }

}  // namespace pelorin
