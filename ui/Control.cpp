// TControl: creates its child window at construction and destroys it with the object.
// A window property links the window back to the object for command routing.
#include "ui/Control.h"

#include "core/Exception.h"
#include "ui/Form.h"

namespace pelorin {

namespace {
const char* const kControlProp = "PelorinControl";
}

TControl::TControl(TForm& parent, const char* windowClass, DWORD style, const Bounds& bounds, DWORD exStyle)
    : parent_(&parent), windowClass_(windowClass), style_(style), exStyle_(exStyle), bounds_(bounds) {
    CreateHandle(true);
}

void TControl::CreateHandle(bool shown) {
    const DWORD visible = shown ? WS_VISIBLE : 0;
    const DWORD disabled = enabled_ ? 0 : WS_DISABLED;
    handle_.reset(::CreateWindowExA(exStyle_, windowClass_.c_str(), caption_.c_str(),
                                    WS_CHILD | visible | disabled | style_, bounds_.Left, bounds_.Top, bounds_.Width,
                                    bounds_.Height, parent_->Handle(), nullptr, ::GetModuleHandleA(nullptr), nullptr));
    if (!handle_) throw Exception("Cannot create a control of class " + windowClass_);
    ::SetPropA(handle_.get(), kControlProp, this);
    ::SendMessageA(handle_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void TControl::RecreateWnd() {
    DestroyingWindow();
    // The new window takes the old one's place in the tab order.
    const HWND oldParent = ::GetParent(Handle());
    // A container may hide a control that is visible in its own right (a notebook page).
    const bool shown = (::GetWindowLongPtrA(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    const HWND previous = ::GetWindow(Handle(), GW_HWNDPREV);
    ::RemovePropA(Handle(), kControlProp);
    handle_.reset();
    CreateHandle(shown);
    if (oldParent == parent_->Handle())
        ::SetWindowPos(Handle(), previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    WindowCreated();
}

void TControl::SetParent(TForm& parent) {
    if (&parent == parent_) return;
    parent_ = &parent;
    RecreateWnd();
}

void TControl::SetStyles(DWORD style, DWORD exStyle) {
    style_ = style;
    exStyle_ = exStyle;
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
    SetCaptionOnly(caption);
    Repaint();
}

void TControl::SetCaptionOnly(const std::string& caption) {
    caption_ = caption;
    ::SetWindowTextA(Handle(), caption_.c_str());
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
