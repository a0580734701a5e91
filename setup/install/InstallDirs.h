// The directory step: the application folder and every DirEntry, each recorded for the undo.
#pragma once

#include <string>

#include "setup/Struct.h"
#include "setup/install/InstallContext.h"

namespace pelorin {

// Creates dir and its missing parents. Raises "Setup was unable to create the directory %s".
void CreateDirTree(const std::string& dir);

// {app}, then each DirEntry in order; each gets a ukDirectory record, existing or not.
void CreateDirectories(const std::vector<DirEntry>& dirs, TInstallContext& context);

}  // namespace pelorin
