// Where the test libraries are and what mark they left. The libraries are built into the
// folder "testdlls" beside the test programs.
#pragma once

#include <string>

#include "tests/win/testdlls/TestDllMark.h"

namespace pelorin::testing {

inline constexpr char SelfRegDll[] = "selfreg.dll";           // both calls succeed
inline constexpr char FailingRegDll[] = "selfreg_fails.dll";  // both calls answer E_FAIL
inline constexpr char NoExportDll[] = "selfreg_none.dll";     // no entry points

// Full path of a test library: <folder of the running program>\testdlls\<name>.
std::string TestDllPath(const char* name);

// Copies a test library to `destination` (replacing it); false when the copy fails.
bool CopyTestDll(const char* name, const std::string& destination);

// The mark left for the library at `path` (its full path); empty when there is none.
std::string ReadTestDllMark(const std::string& path);
void ClearTestDllMark(const std::string& path);

}  // namespace pelorin::testing
