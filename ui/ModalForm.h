// TModalForm: a form shown modally, closed by a button that sets its modal result; Enter
// presses its default button and Escape its cancel button.
#pragma once

#include <windows.h>

#include "ui/Form.h"

namespace pelorin {

enum TModalResult { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

class TModalForm : public TForm {
public:
    explicit TModalForm(HWND ownerWindow, TFormBorderStyle borderStyle = bsDialog);

    // Shows the form and runs the messages until it is closed, with the program's other
    // windows disabled. The modal result then; mrCancel when the form was closed without
    // one (system menu, Alt+F4) or the application is ending.
    TModalResult ShowModal();

    TModalResult ModalResult() const { return modalResult_; }
    // Sets the result and closes the form (the close query may keep it open).
    void SetModalResult(TModalResult result);

private:
    TModalResult modalResult_ = mrNone;
};

}  // namespace pelorin
