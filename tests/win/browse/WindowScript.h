// Works a window that the test's own thread is about to show modally: a helper thread
// waits for it, runs the test's script against it and makes sure it goes away.
#pragma once

#include <windows.h>

#include <functional>
#include <thread>

#include "tests/e2e/driver/Driver.h"

namespace pelorin::testing {

class WindowScript {
public:
    using Script = std::function<void(HWND window)>;

    // The script runs on the helper thread while the window is open; it should close the
    // window. If the window is still open 10 s after the script, it is asked to close and
    // the test fails.
    WindowScript(driver::WindowQuery query, Script script, double timeoutSeconds = 20);
    ~WindowScript();
    WindowScript(const WindowScript&) = delete;
    WindowScript& operator=(const WindowScript&) = delete;

    // Waits for the helper; true when the window appeared.
    bool Found();

private:
    void Run();

    driver::WindowQuery query_;
    Script script_;
    double timeout_;
    bool found_ = false;
    std::thread thread_;
};

// The dialogs of this process (class #32770), or its forms of that caption.
driver::WindowQuery OwnDialog();
driver::WindowQuery OwnWindow(const std::string& caption);

// Polls the condition every 50 ms; true as soon as it holds.
bool WaitUntil(const std::function<bool()>& condition, double timeoutSeconds = 5);

// The first control of window, at any depth, that has this identifier.
HWND ControlById(HWND window, int id);

}  // namespace pelorin::testing
