// The uninstall entry: a new subkey "<AppVerName>_is<n>" of the Uninstall key whose
// UninstallString starts FERROW.EXE on the undo log.
#pragma once

#include <string>

#include "setup/install/InstallContext.h"

namespace pelorin {

inline constexpr char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// AddBackslash({win}) + "FERROW.EXE": the uninstaller that the entry and the item start.
std::string UninstallerPath();

// Writes the entry (on Windows 4 and later) and records its key for the rollback.
void RegisterUninstall(const std::string& appVerName, TInstallContext& context);

}  // namespace pelorin
