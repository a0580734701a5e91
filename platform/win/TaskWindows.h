// TaskWindowsDisabler: while a modal window of the program is open, the program's other
// windows are disabled and its stay-on-top windows step down behind it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pelorin {

// Disables the windows of this thread (except the platform's helper windows and the modal
// window itself, when it exists already) and lowers its stay-on-top ones for its lifetime;
// puts everything back and reactivates the window that was active on every way out.
class TaskWindowsDisabler {
public:
    explicit TaskWindowsDisabler(HWND modalWindow = nullptr) : modal_(modalWindow), active_(::GetActiveWindow()) {
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
    // Windows of the thread that belong to the platform rather than to the program.
    static bool IsHelperWindow(HWND window) {
        char name[64] = {};
        ::GetClassNameA(window, name, sizeof name);
        const std::string className = name;
        return className == "IME" || className == "MSCTFIME UI" || className == "tooltips_class32";
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        reinterpret_cast<TaskWindowsDisabler*>(self)->Take(window);
        return TRUE;
    }
    void Take(HWND window) {
        if (window == modal_ || IsHelperWindow(window)) return;
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

    HWND modal_;
    HWND active_;
    std::vector<HWND> disabled_;
    std::vector<HWND> topMost_;
};

}  // namespace pelorin
