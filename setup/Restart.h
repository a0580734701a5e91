// Restarting the computer at the end of the setup program, with the shutdown
// privilege enabled on NT and a warning when the restart cannot be started.
#pragma once

#include <windows.h>

#include <functional>

namespace pelorin {

// The platform call that ends the session: ExitWindowsEx in the program.
using ExitWindowsCall = std::function<BOOL(UINT flags, DWORD reserved)>;

// On NT enables "SeShutdownPrivilege" for the process, then asks for a reboot. When
// either fails, shows "Setup Wizard was unable to restart the computer. Please do this
// manually." and returns false.
bool RestartComputer(const ExitWindowsCall& exitWindows = ::ExitWindowsEx);

}  // namespace pelorin
