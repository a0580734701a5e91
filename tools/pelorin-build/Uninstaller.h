// The uninstaller FERROW.EXE as part of a package: where the tool finds it and the
// shared file entry that puts it into the Windows folder.
#pragma once

#include <string>

#include "tools/pelorin-build/Project.h"

namespace pelorin {

// Destination of the uninstaller; the uninstall entry and the "Remove" item start it there.
extern const char* const kUninstallerDestName;

// FERROW.EXE (any case) beside the tool, or in the win64 tree next to the tool's own
// build tree (native/bin/pelorin-build -> win64/bin/FERROW.EXE); empty when absent.
std::string FindUninstaller(const std::string& toolPath);

// True when the project installs the uninstaller: CreateUninstall is set, the project
// does not switch it off, and no entry of its own already goes to {win}\FERROW.EXE.
bool NeedsUninstaller(const Project& project);

// Puts the uninstaller at the front of the file list: a shared file (one copy for
// every installed product, counted under SharedDLLs) that keeps a newer copy
// without asking.
void AddUninstallerEntry(Project& project, const std::string& path);

}  // namespace pelorin
