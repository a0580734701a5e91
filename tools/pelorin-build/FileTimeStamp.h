// Setting a file's time stamp from a Windows file time, as the setup program stamps the
// files it installs; --extract gives its files the times stored in the description.
#pragma once

#include <string>

#include "tools/pelorin-build/HostSystem.h"

namespace pelorin {

// Sets the last-write time (and the creation time on Windows, the access time elsewhere);
// false when the system refuses or cannot represent the time.
bool SetLastWriteTime(const std::string& path, FileTime time);

}  // namespace pelorin
