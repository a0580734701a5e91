// Message services: ProcessMessages keeps windows alive during long work on the one thread.
// A WM_QUIT met while pumping is posted again so the main loop still ends.
#include "ui/Application.h"

#include "ui/Form.h"

namespace pelorin {

bool TranslateFormMessage(MSG& msg) {
    if (!msg.hwnd) return false;
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (!TForm::FromHandle(root)) return false;
    return ::IsDialogMessageA(root, &msg) != FALSE;
}

void ProcessMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (TranslateFormMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void TerminateApplication() { ::PostQuitMessage(0); }

}  // namespace pelorin
