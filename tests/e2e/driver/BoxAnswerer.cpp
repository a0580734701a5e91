// The helper thread behind BoxAnswerer: finds the first visible dialog of this process,
// reads it and presses the chosen button.
#include "tests/e2e/driver/BoxAnswerer.h"

namespace pelorin::driver {

BoxAnswerer::BoxAnswerer(std::string button, Inspect inspect, double timeoutSeconds)
    : button_(std::move(button)), inspect_(std::move(inspect)), timeout_(timeoutSeconds), thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    if (thread_.joinable()) thread_.join();
}

const MessageBoxInfo& BoxAnswerer::Result() {
    if (thread_.joinable()) thread_.join();
    return box_;
}

void BoxAnswerer::Run() {
    WindowQuery query;
    query.pid = ::GetCurrentProcessId();
    query.className = "#32770";
    const HWND dialog = WaitForWindow(query, timeout_);
    if (!dialog) return;
    box_ = ReadMessageBox(dialog);
    if (inspect_) inspect_(box_);
    pressed_ = PressButton(FindControl(dialog, button_));
}

}  // namespace pelorin::driver
