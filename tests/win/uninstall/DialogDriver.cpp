// Finds a process's message box among the top-level windows, reads it and presses its
// buttons with BM_CLICK.
#include "tests/win/uninstall/DialogDriver.h"

namespace pelorin::testing {
namespace {

struct Search {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (owner == search->ProcessId && ::IsWindowVisible(window) && std::string(className) == "#32770") {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    MessageBoxSeen box;
    while (::GetTickCount() - start < timeoutMs) {
        Search search{processId, nullptr};
        ::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.Found) {
            ::Sleep(100);  // let the box finish painting its controls
            box.Window = search.Found;
            box.Caption = WindowText(search.Found);
            box.Text = WindowText(::GetDlgItem(search.Found, 0xFFFF));
            return box;
        }
        ::Sleep(50);
    }
    return box;
}

bool PressButton(const MessageBoxSeen& box, int buttonId) {
    const HWND button = ::GetDlgItem(box.Window, buttonId);
    if (!button) return false;
    ::PostMessageA(button, BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && ::IsWindow(box.Window); ++i) ::Sleep(50);
    return !::IsWindow(box.Window);
}

}  // namespace pelorin::testing
