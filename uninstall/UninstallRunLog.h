// Texts of the uninstaller's run log: one undo record in words, and a failure's reason with
// the system's own text for its error number.
#pragma once

#include <string>

#include "setup/install/UndoRecord.h"

namespace pelorin {

// "file C:\App\app.exe (shared)", "registry key HKCU\Software\App", ...
std::string DescribeUndoRecord(const UndoRecord& record);

// A reason that ends in "error N" gets the system's text for N after a colon.
std::string WithSystemText(const std::string& reason);

}  // namespace pelorin
