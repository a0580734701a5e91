// The helper thread of WindowScript, and small queries the scripts share.
// Failures inside a script are reported through GoogleTest from the helper thread.
#include "tests/win/browse/WindowScript.h"

#include <gtest/gtest.h>

namespace pelorin::testing {

WindowScript::WindowScript(driver::WindowQuery query, Script script, double timeoutSeconds)
    : query_(std::move(query)), script_(std::move(script)), timeout_(timeoutSeconds), thread_([this] { Run(); }) {}

WindowScript::~WindowScript() {
    if (thread_.joinable()) thread_.join();
}

bool WindowScript::Found() {
    if (thread_.joinable()) thread_.join();
    return found_;
}

void WindowScript::Run() {
    const HWND window = driver::WaitForWindow(query_, timeout_);
    if (!window) {
        ADD_FAILURE() << "the window did not appear";
        return;
    }
    found_ = true;
    script_(window);
    if (driver::WaitForNoWindow(query_, 10)) return;
    ADD_FAILURE() << "the window is still open after the script";
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ::PostMessageA(window, WM_CLOSE, 0, 0);
}

driver::WindowQuery OwnDialog() {
    driver::WindowQuery query;
    query.pid = ::GetCurrentProcessId();
    query.className = "#32770";
    return query;
}

driver::WindowQuery OwnWindow(const std::string& caption) {
    driver::WindowQuery query;
    query.pid = ::GetCurrentProcessId();
    query.caption = caption;
    return query;
}

bool WaitUntil(const std::function<bool()>& condition, double timeoutSeconds) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount() - start >= static_cast<DWORD>(timeoutSeconds * 1000)) return false;
        ::Sleep(50);
    }
}

HWND ControlById(HWND window, int id) {
    for (const driver::ControlInfo& control : driver::ListControls(window))
        if (control.id == id) return control.handle;
    return nullptr;
}

}  // namespace pelorin::testing
