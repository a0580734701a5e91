// The use counter of a shared file under "SharedDLLs": raised once per installation.
// The counter keeps the value type it was found with (text, binary or number).
#pragma once

#include <string>

#include "core/Exception.h"

namespace pelorin {

// The key, below HKEY_LOCAL_MACHINE, whose values count the users of shared files.
inline constexpr char SharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Raises the counter named by path. A missing counter of a file that existed before counts as
// one unknown user. Raises "Error opening registry key: %s" when the key cannot be opened.
void IncrementSharedCount(const std::string& path, bool existed);

}  // namespace pelorin
