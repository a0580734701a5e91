// TLabel and TButton over the platform's STATIC and BUTTON window classes.
// Labels show ampersands as they are; paths often contain them.
#include "ui/StdCtrls.h"

#include "ui/Form.h"

namespace pelorin {

TLabel::TLabel(TForm& parent, const Bounds& bounds) : TControl(parent, "STATIC", SS_LEFT | SS_NOPREFIX, bounds) {}

void TLabel::ShowText(const std::string& text) {
    if (text == Caption()) return;
    SetCaptionOnly(text);
}

TButton::TButton(TForm& parent, const Bounds& bounds)
    : TControl(parent, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, bounds), parent_(parent) {}

void TButton::SetCancel(bool cancel) {
    cancel_ = cancel;
    parent_.SetCancelControl(cancel ? this : nullptr);
}

void TButton::SetDefault(bool isDefault) {
    default_ = isDefault;
    parent_.SetDefaultControl(isDefault ? this : nullptr);
    ::SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (OnClick) OnClick(*this);
}

void TButton::Command(WORD notification) {
    if (notification == BN_CLICKED) Click();
}

}  // namespace pelorin
