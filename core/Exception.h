// The program's error family: every failure is an Exception carrying its message.
// EAbort is the silent abort; it unwinds to the code that rolls back or ends start-up.
#pragma once

#include <stdexcept>
#include <string>

namespace pelorin {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// Carries no message of its own: whoever raises it has already told the user.
class EAbort : public Exception {
public:
    EAbort() : Exception(std::string()) {}
};

}  // namespace pelorin
