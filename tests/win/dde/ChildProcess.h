// Programs a test starts beside itself (the scripted DDE server, Wine's desktop shell),
// ended by the test that started them and waited for, on every way out.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/Handles.h"

namespace pelorin::testing {

class ChildProcess {
public:
    // Raises pelorin::Exception when the program cannot be started.
    explicit ChildProcess(const std::string& commandLine);
    ~ChildProcess() { End(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Asks the program's main thread to quit, then terminates it when it does not.
    void End() noexcept;
    bool Running() const noexcept;

private:
    KernelHandle process_;
    KernelHandle thread_;
    DWORD threadId_ = 0;
};

// The folder of this test program, with a trailing backslash.
std::string ProgramFolder();

// Polls until a DDE conversation with service and topic can be opened.
bool WaitForService(const std::string& service, const std::string& topic, DWORD timeoutMs);

}  // namespace pelorin::testing
