// Replacement of a file in use at the next restart: MoveFileEx on NT, the "[rename]" section
// of WININIT.INI on the other family. Either way RestartRequired is set.
#pragma once

#include <functional>
#include <string>

#include "core/Exception.h"

namespace pelorin {

// Schedules tempName to replace destName at the next start. Raises when it cannot.
void RestartReplace(const std::string& tempName, const std::string& destName);

// Adds line as the last entry of the "[rename]" section of winDir\WININIT.INI (the section is
// started at the end when missing). The old file is set aside under a unique name first and put
// back when the new one cannot be written; when even that fails, the error names where it is.
// afterSetAside runs once the old file is set aside (a seam for tests; may be empty).
void AddWininitRename(const std::string& winDir, const std::string& line,
                      const std::function<void()>& afterSetAside = {});

}  // namespace pelorin
