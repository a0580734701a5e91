// DecrementSharedCount: gives back one use of a shared file under "SharedDLLs".
// Answers whether the file has no users left; a file without a counter never has.
#pragma once

#include <optional>
#include <string>

namespace pelorin {

// Lowers the counter named by path. At zero or below the value is deleted and the answer is
// true. Raises "Error opening registry key: %s" when the key cannot be opened.
bool DecrementSharedCount(const std::string& path);

// The counter of path as the decrement reads it; nullopt when there is none. The recovery
// journal notes it before a raise and compares it afterwards.
std::optional<long long> CurrentSharedCount(const std::string& path);

}  // namespace pelorin
