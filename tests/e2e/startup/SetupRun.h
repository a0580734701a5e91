// Runs the real pelorin.exe from a fresh distribution folder, answering its message
// boxes, and reports what it showed, how it ended and what it left behind.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/Driver.h"

namespace pelorin::e2e {

struct SetupRun {
    std::vector<driver::MessageBoxInfo> boxes;
    std::optional<DWORD> exitCode;  // nothing when it did not end by itself
    // Start-up got through and the program showed a window other than a message box;
    // the run was ended there.
    bool reachedWindows = false;
    std::vector<std::string> leftInTemp;
};

// dll empty: no PELORIN.DLL at all. wineVersion empty: Wine's default version.
SetupRun RunSetup(const std::vector<std::uint8_t>& dll, const std::string& wineVersion = "");

// Runs pelorin.exe in folder with TMP pointing at an empty scratch folder, answering
// every message box with OK, until it ends or shows a window of its own.
SetupRun RunSetupIn(const std::string& folder, const std::string& wineVersion = "");

}  // namespace pelorin::e2e
