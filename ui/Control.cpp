// TControl: creates its child window at construction and destroys it with the object.
// A window property links the window back to the object for command routing.
#include "ui/Control.h"

#include "core/Exception.h"
#include "ui/Form.h"

namespace pelorin {

namespace {
const char* const kControlProp = "PelorinControl";
}

TControl::TControl(TForm& parent, const char* windowClass, DWORD style, const Bounds& bounds) : bounds_(bounds) {
    handle_.reset(::CreateWindowExA(0, windowClass, "", WS_CHILD | WS_VISIBLE | style, bounds.Left, bounds.Top,
                                    bounds.Width, bounds.Height, parent.Handle(), nullptr, ::GetModuleHandleA(nullptr),
                                    nullptr));
    if (!handle_) throw Exception(std::string("Cannot create a control of class ") + windowClass);
    ::SetPropA(handle_.get(), kControlProp, this);
    ::SendMessageA(handle_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

TControl::~TControl() {
    if (handle_) ::RemovePropA(handle_.get(), kControlProp);
}

TControl* TControl::FromHandle(HWND wnd) {
    return wnd ? static_cast<TControl*>(::GetPropA(wnd, kControlProp)) : nullptr;
}

void TControl::SetBounds(const Bounds& bounds) {
    bounds_ = bounds;
    ::MoveWindow(Handle(), bounds.Left, bounds.Top, bounds.Width, bounds.Height, TRUE);
}

void TControl::SetCaption(const std::string& caption) {
    caption_ = caption;
    ::SetWindowTextA(Handle(), caption_.c_str());
    Repaint();
}

void TControl::SetVisible(bool visible) {
    visible_ = visible;
    ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void TControl::SetEnabled(bool enabled) {
    enabled_ = enabled;
    ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

void TControl::Repaint() const {
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ::UpdateWindow(Handle());
}

void TControl::Command(WORD) {}

}  // namespace pelorin
