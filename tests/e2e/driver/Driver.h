// Finding and working the windows of another program from a test: top-level windows,
// their controls, message boxes, button presses and edit texts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pelorin::driver {

// Tests condition every intervalMs until it holds (true) or timeoutSeconds passed (false).
template <typename Condition>
bool PollUntil(double timeoutSeconds, Condition condition, DWORD intervalMs = 50) {
    const DWORD start = ::GetTickCount();
    const DWORD limit = static_cast<DWORD>(timeoutSeconds * 1000.0);
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start >= limit) return false;
        ::Sleep(intervalMs);
    }
}

struct WindowQuery {
    DWORD pid = 0;          // 0: any process
    std::string caption;    // exact caption; empty: any
    std::string className;  // exact class ("#32770" for dialogs); empty: any
    bool visibleOnly = true;
};

struct WindowInfo {
    HWND handle = nullptr;
    DWORD pid = 0;
    std::string className;
    std::string caption;
    bool visible = false;
    bool enabled = false;
};

struct ControlInfo {
    HWND handle = nullptr;
    int id = 0;
    std::string className;
    std::string text;
    bool visible = false;
    bool enabled = false;
};

struct MessageBoxInfo {
    HWND handle = nullptr;
    DWORD pid = 0;
    std::string caption;
    std::string text;                  // the static control with id 0xFFFF
    std::string icon;                  // stop, question, exclamation, information, none, unknown
    std::vector<std::string> buttons;  // visible buttons, texts without "&"
};

// Top-level windows that match, in z-order.
std::vector<WindowInfo> FindWindows(const WindowQuery& query);

// The first matching window, polling until timeoutSeconds passed; nullptr then.
HWND WaitForWindow(const WindowQuery& query, double timeoutSeconds);

// True once no window matches; false when one still does after timeoutSeconds.
bool WaitForNoWindow(const WindowQuery& query, double timeoutSeconds);

WindowInfo DescribeWindow(HWND window);

// Every descendant control of window, depth first in z-order.
std::vector<ControlInfo> ListControls(HWND window);

// The window's text through WM_GETTEXT (works for controls of other processes).
std::string GetText(HWND window);

// The window's text once it reads expected, polling until timeoutSeconds passed; the last
// text read otherwise. A program that closes a dialog fills its fields only afterwards.
std::string WaitForText(HWND window, const std::string& expected, double timeoutSeconds);

// Sets the text through WM_SETTEXT; for edits this is what typing leaves behind.
bool SetText(HWND window, const std::string& text);

// Caption, text, icon and buttons of a message box (a dialog of class #32770).
MessageBoxInfo ReadMessageBox(HWND dialog);

// "stop", "question", "exclamation", "information" by comparing the icon control's
// pixels on the screen with the system icons; "none" without one; "unknown" otherwise.
std::string IdentifyIcon(HWND dialog);

// Finds a control by selector: "id:N" (decimal or 0x hex), "class:NAME" or
// "class:NAME#K" (K-th of that class, from 1), "text:LABEL", or a bare LABEL. Labels
// compare without "&" and case-insensitively; for buttons the names OK, Cancel, Yes,
// No, Abort, Retry, Ignore also match the standard ids. nullptr when none matches.
HWND FindControl(HWND window, const std::string& selector);

// Presses the button as a click does (BM_CLICK, posted so that a button that opens a
// modal window does not hold up the caller). False when it is missing or disabled.
bool PressButton(HWND button);

// Asks the window to close (WM_CLOSE, posted).
bool RequestClose(HWND window);

// label without "&" characters (a "&&" stays one "&").
std::string StripAccelerator(const std::string& label);

// "\r", "\n", "\t" and "\\" in text turned into the characters, and back.
std::string Unescape(const std::string& text);
std::string Escape(const std::string& text);

}  // namespace pelorin::driver
