// The program's error family: every failure is an Exception carrying its message.
// EAbort is the silent abort; it unwinds to the code that rolls back or ends start-up.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace pelorin {

// Holds its message itself rather than deriving from std::runtime_error, whose message
// storage would bring a second string implementation of the runtime into every program.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Carries no message of its own: whoever raises it has already told the user.
class EAbort : public Exception {
public:
    EAbort() : Exception(std::string()) {}
};

}  // namespace pelorin
