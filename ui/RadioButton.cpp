// TRadioButton over the platform's automatic radio button: the platform keeps one button of a
// group checked; the state is read back from the window.
#include "ui/RadioButton.h"

namespace pelorin {

TRadioButton::TRadioButton(TForm& parent, const Bounds& bounds, bool startsGroup)
    : TControl(parent, "BUTTON", BS_AUTORADIOBUTTON | (startsGroup ? WS_GROUP | WS_TABSTOP : 0), bounds) {}

bool TRadioButton::Checked() const { return ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TRadioButton::SetChecked(bool checked) {
    ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Command(WORD notification) {
    if (notification == BN_CLICKED && OnClick) OnClick(*this);
}

}  // namespace pelorin
