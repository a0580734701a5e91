// Answers a message box that the test's own thread is about to show: a helper thread
// waits for the box, reads it, lets the test look around, then presses a button.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include "tests/e2e/driver/Driver.h"

namespace pelorin::driver {

class BoxAnswerer {
public:
    using Inspect = std::function<void(const MessageBoxInfo&)>;

    // button: a FindControl selector ("OK", "No", "id:2"). inspect runs on the helper
    // thread while the box is still open.
    explicit BoxAnswerer(std::string button, Inspect inspect = {}, double timeoutSeconds = 20);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Waits for the helper; the box as read (handle nullptr when none appeared).
    const MessageBoxInfo& Result();
    bool Pressed() const { return pressed_; }

private:
    void Run();

    std::string button_;
    Inspect inspect_;
    double timeout_;
    MessageBoxInfo box_;
    bool pressed_ = false;
    std::thread thread_;
};

}  // namespace pelorin::driver
