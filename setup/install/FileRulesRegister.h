// Self-registration of an installed library through its DllRegisterServer entry point,
// with the user's Abort/Retry/Ignore choice when it fails.
#pragma once

#include <string>

#include "setup/install/InstallPrompt.h"

namespace pelorin {

// One registration attempt: empty on success, else the reason ("LoadLibrary failed",
// "DllRegisterServer export not found" or "DllRegisterServer returned %d").
std::string TryRegisterServer(const std::string& path);

// Registers path, asking Abort/Retry/Ignore (Abort the default) while it fails.
// Abort raises the silent abort; Ignore goes on without registering.
void RegisterServer(const std::string& path, IInstallPrompt& prompt);

}  // namespace pelorin
