// The INI and registry steps: each entry is written, recorded for the undo when its flags ask,
// and put to the user as Abort/Retry/Ignore when it fails.
#pragma once

#include <vector>

#include "setup/Struct.h"
#include "setup/install/InstallContext.h"

namespace pelorin {

void CreateIniEntries(const std::vector<IniEntry>& entries, TInstallContext& context);
void CreateRegistryEntries(const std::vector<RegistryEntry>& entries, TInstallContext& context);

}  // namespace pelorin
