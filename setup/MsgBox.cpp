// The message boxes of the setup program: while one is open the program's other
// windows are disabled and its stay-on-top windows step down behind it.
#include "setup/MsgBox.h"

#include <vector>

namespace pelorin {

namespace {

std::string& TitleStorage() {
    static std::string title;
    return title;
}

// Windows of the thread that belong to the platform rather than to the program.
bool IsHelperWindow(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof name);
    const std::string className = name;
    return className == "IME" || className == "MSCTFIME UI" || className == "tooltips_class32";
}

// Disables the program's windows and lowers its stay-on-top ones for the lifetime of
// a modal box; puts everything back and reactivates the remembered window on every
// way out.
class TaskWindowsDisabler {
public:
    TaskWindowsDisabler() : active_(::GetActiveWindow()) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &TaskWindowsDisabler::Visit, reinterpret_cast<LPARAM>(this));
    }
    ~TaskWindowsDisabler() {
        for (HWND window : topMost_)
            ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        for (HWND window : disabled_) ::EnableWindow(window, TRUE);
        if (active_) ::SetActiveWindow(active_);
    }
    TaskWindowsDisabler(const TaskWindowsDisabler&) = delete;
    TaskWindowsDisabler& operator=(const TaskWindowsDisabler&) = delete;

    HWND Active() const { return active_; }

private:
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        reinterpret_cast<TaskWindowsDisabler*>(self)->Take(window);
        return TRUE;
    }
    void Take(HWND window) {
        if (IsHelperWindow(window)) return;
        if (::IsWindowEnabled(window)) {
            ::EnableWindow(window, FALSE);
            disabled_.push_back(window);
        }
        const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
        if (::IsWindowVisible(window) && (exStyle & WS_EX_TOPMOST) != 0) {
            const UINT flags = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
            ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
            ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, flags);
            topMost_.push_back(window);
        }
    }

    HWND active_;
    std::vector<HWND> disabled_;
    std::vector<HWND> topMost_;
};

int ShowBox(const std::string& text, const std::string& caption, UINT flags) {
    const TaskWindowsDisabler disabler;
    return ::MessageBoxA(disabler.Active(), text.c_str(), caption.c_str(), flags);
}

UINT KindIcon(MsgBoxKind kind) {
    switch (kind) {
    case mbInformation: return MB_ICONINFORMATION;
    case mbConfirm: return MB_ICONQUESTION;
    case mbWarning: return MB_ICONEXCLAMATION;
    case mbError: return MB_ICONSTOP;
    }
    return 0;
}

}  // namespace

const char* MsgBoxCaption(MsgBoxKind kind) {
    switch (kind) {
    case mbInformation: return "Information";
    case mbConfirm: return "Confirm";
    case mbWarning:
    case mbError: return "Error";
    }
    return "";
}

int MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) {
    return ShowBox(text, caption.empty() ? MsgBoxCaption(kind) : caption, buttons | KindIcon(kind));
}

void SetApplicationTitle(const std::string& title) { TitleStorage() = title; }

const std::string& ApplicationTitle() { return TitleStorage(); }

void ShowErrorBox(const std::string& message) {
    const bool endsWithStop = !message.empty() && message.back() == '.';
    ShowBox(endsWithStop ? message : message + ".", ApplicationTitle(), MB_ICONSTOP | MB_OK);
}

}  // namespace pelorin
