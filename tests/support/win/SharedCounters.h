// The shared counters of files under HKEY_LOCAL_MACHINE "SharedDLLs", read and set directly
// by the tests, independently of the code under test.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin::testing {

// The counter of path: its type and raw bytes; type REG_NONE (0) when it is missing.
DWORD ReadSharedCounter(const std::string& path, std::string& bytes);
// Sets the counter of path to raw bytes of any type, for counters as other programs leave them.
void WriteSharedCounter(const std::string& path, DWORD type, const std::string& bytes);
// Sets the counter of path to count, as a REG_DWORD.
void SetSharedCount(const std::string& path, DWORD count);
bool SharedCounterExists(const std::string& path);
void DeleteSharedCounter(const std::string& path);

}  // namespace pelorin::testing
