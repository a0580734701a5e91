// The application object of the window layer (its hidden window, the main form, events and
// hooks) and the message services: pumping, the message loop, dialog keys, ending.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace pelorin {

class TForm;

// One per program (TApplication::Instance). Its hidden window stands for the program as a
// whole: the main form reports its position changes (WM_WINDOWPOSCHANGED) and the program's
// activation (WM_ACTIVATEAPP) to it, hooks see every message it gets, and from those messages it
// raises OnActivate, OnMinimize and OnRestore. The window is never shown.
class TApplication {
public:
    static TApplication& Instance();

    // The hidden window, created on first use.
    HWND Handle();

    // The form whose closing ends the program and whose minimised state is the program's.
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // True while the main form is minimised.
    bool Minimized() const;

    // A hook sees each message of the hidden window before the application does; it returns
    // true to consume it (result is then the answer). HookMainWindow returns a key for Unhook.
    using THook = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
    int HookMainWindow(THook hook);
    void UnhookMainWindow(int key);

    // Raised when the program becomes the active one, when the main form is minimised, and when
    // it comes back from being minimised.
    std::function<void()> OnActivate;
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;

    // Called by the main form when it moved, sized or changed state. The program's activation
    // needs no report: the platform tells every top-level window, the hidden one too.
    void MainFormPositionChanged(const WINDOWPOS& position);

private:
    TApplication() = default;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;  // lives until the process ends, like the program it stands for
    TForm* mainForm_ = nullptr;
    std::vector<std::pair<int, THook>> hooks_;  // in the order of their keys
    int nextHookKey_ = 1;
    bool minimized_ = false;
};

// Handles the dialog keys of a message aimed at a form or its controls. True when consumed.
// Message loops call it before TranslateMessage/DispatchMessage.
bool TranslateFormMessage(MSG& msg);

// Runs every pending message of this thread and returns. A quit request is left for the
// message loop to see.
void ProcessMessages();

// Runs messages until the application is told to end; returns the quit code.
int RunMessageLoop();

// Tells the application to end: its message loop stops at the next turn.
void TerminateApplication();

}  // namespace pelorin
