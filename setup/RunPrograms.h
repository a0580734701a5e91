// Starting the RunEntry programs after the installation, one after the other, waiting for
// those that ask for it while the windows keep running their messages.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setup/CmnFunc2.h"
#include "setup/Struct.h"

namespace pelorin {

// Shows the failure message of a program that could not be started.
using TRunErrorBox = std::function<void(const std::string& text)>;

// Starts every entry in list order from its command line alone (the setup program's
// environment and current folder). A failure is shown through errorBox and the next entry
// still runs. Without the NoWait flag the next entry waits until the program has ended,
// and pending messages run meanwhile.
void StartRunEntries(const std::vector<RunEntry>& entries, const DirConstants& dirs, const TRunErrorBox& errorBox);

}  // namespace pelorin
