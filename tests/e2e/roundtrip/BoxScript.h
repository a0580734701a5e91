// Answers the message boxes of a running program one by one, choosing each button from
// what the box says, and keeps every box as it was read.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/driver/ProcessHarness.h"

namespace pelorin::e2e {

// The button to press for a box ("Yes", "OK", ...).
using BoxChoice = std::function<std::string(const driver::MessageBoxInfo&)>;

// Until the program ends or timeoutSeconds passed: waits for its next box, reads it,
// presses the chosen button. The boxes in the order they came.
std::vector<driver::MessageBoxInfo> AnswerBoxes(RunningProgram& program, const BoxChoice& choose,
                                                double timeoutSeconds);

}  // namespace pelorin::e2e
