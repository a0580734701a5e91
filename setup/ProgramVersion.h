// The version of the setup program and the uninstaller, as their logs name it.
// Raised with every release.
#pragma once

namespace pelorin {

constexpr const char* kProgramVersion = "1.0";

}  // namespace pelorin
