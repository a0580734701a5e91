// TEdit and TMemo over the platform's EDIT window class. The typing limit is EM_LIMITTEXT,
// which the platform applies to typing and pasting only, not to texts set by WM_SETTEXT.
#include "ui/Edit.h"

#include <vector>

#include "ui/Form.h"

namespace pelorin {

DWORD ScrollBarStyle(TScrollStyle scrollBars) {
    switch (scrollBars) {
    case ssNone: return 0;
    case ssHorizontal: return WS_HSCROLL;
    case ssVertical: return WS_VSCROLL;
    case ssBoth: return WS_HSCROLL | WS_VSCROLL;
    }
    return 0;
}

TCustomEdit::TCustomEdit(TForm& parent, const char* windowClass, DWORD style, const Bounds& bounds, DWORD exStyle)
    : TControl(parent, windowClass, style, bounds, exStyle) {}

std::string TCustomEdit::Text() const {
    const int length = ::GetWindowTextLengthA(Handle());
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    const int got = ::GetWindowTextA(Handle(), buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

void TCustomEdit::SetText(const std::string& text) { ::SetWindowTextA(Handle(), text.c_str()); }

void TCustomEdit::SetMaxLength(int length) {
    maxLength_ = length < 0 ? 0 : length;
    // 0 asks the platform for its own largest limit.
    ::SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TCustomEdit::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    ::SendMessageA(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void TCustomEdit::SetFocus() { ::SetFocus(Handle()); }

void TCustomEdit::SelectAll() { ::SendMessageA(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Command(WORD notification) {
    if (notification == EN_CHANGE && OnChange) OnChange(*this);
}

void TCustomEdit::DestroyingWindow() { savedText_ = Text(); }

void TCustomEdit::WindowCreated() {
    SetText(savedText_);
    savedText_.clear();
    ApplySettings();
}

void TCustomEdit::ApplySettings() {
    if (maxLength_ != 0) SetMaxLength(maxLength_);
    if (readOnly_) SetReadOnly(true);
}

TEdit::TEdit(TForm& parent, const Bounds& bounds)
    : TCustomEdit(parent, "EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, bounds, WS_EX_CLIENTEDGE) {}

TMemo::TMemo(TForm& parent, const Bounds& bounds, TScrollStyle scrollBars)
    : TCustomEdit(parent, "EDIT",
                  ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_TABSTOP | ScrollBarStyle(scrollBars),
                  bounds, WS_EX_CLIENTEDGE) {}

}  // namespace pelorin
