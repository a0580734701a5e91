// Paths longer than the ANSI calls take: the wide, extended form ("\\?\C:\..." or
// "\\?\UNC\server\share\...") for the system's wide calls, so what was made can be found and removed.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin {

// The path for the wide calls: a path that fits the ANSI calls as it is, in wide characters;
// a longer one made full and given the extended prefix, which lifts the limit where the system
// supports it.
std::wstring WidePathForSystem(const std::string& path);

// GetFileAttributes, DeleteFile, RemoveDirectory and delayed removal, for paths of any length.
DWORD PathAttributes(const std::string& path);
bool DeletePath(const std::string& path);
bool RemoveDirectoryPath(const std::string& path);
bool RemovePathAtRestart(const std::string& path);

}  // namespace pelorin
