// What the file rules read from an existing destination file: its fixed version block
// and its last-write time.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin {

// The fixed version block of the file's version information. False unless the size query,
// the read and the query of the root block "\" all succeed.
bool GetVersionInfo(const std::string& path, VS_FIXEDFILEINFO& info);

// The last-write time of path, found with the platform's file search. False when nothing is
// found or the path is a directory.
bool GetLastWriteTime(const std::string& path, FILETIME& time);

// Compares the (MS, LS) version pairs high half first, each half as a signed 32-bit number.
// Negative when a is lower, 0 when equal, positive when a is higher.
int CompareFileVersions(DWORD aMS, DWORD aLS, DWORD bMS, DWORD bLS);

}  // namespace pelorin
