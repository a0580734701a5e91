// The message of the error an action raises, or "no error": for tests that check message texts.
// Shared by the tests of this folder.
#pragma once

#include <functional>
#include <string>

#include "core/Exception.h"

namespace pelorin::test {

inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace pelorin::test
