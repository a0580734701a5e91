// AdvanceStep: the private message that drives the run sequence of the setup program.
// The wizard and the installation window post it to the background window; both parameters are 0.
#pragma once

#include <windows.h>

namespace pelorin {

// The user-message base plus 3900 (0x133C).
constexpr UINT AdvanceStepMessage = WM_USER + 3900;

}  // namespace pelorin
