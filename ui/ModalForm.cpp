// TModalForm: the modal loop runs until the form is hidden; a quit request met on the way
// ends it and is posted again for the application's own loop.
#include "ui/ModalForm.h"

#include "platform/win/TaskWindows.h"
#include "ui/Application.h"

namespace pelorin {

TModalForm::TModalForm(HWND ownerWindow, TFormBorderStyle borderStyle) : TForm(ownerWindow, borderStyle) {}

TModalResult TModalForm::ShowModal() {
    modalResult_ = mrNone;
    const TaskWindowsDisabler disabler(Handle());
    Show();
    ::SetForegroundWindow(Handle());
    if (const HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE)) ::SetFocus(first);
    MSG msg;
    while (Visible()) {
        if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            Hide();
            break;
        }
        if (TranslateFormMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    return modalResult_;
}

void TModalForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (!Close()) modalResult_ = mrNone;
}

}  // namespace pelorin
