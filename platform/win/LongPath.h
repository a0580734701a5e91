// Paths longer than the ANSI calls take: the wide, extended form ("\\?\C:\..." or
// "\\?\UNC\server\share\...") for the system's wide calls, so what was made can be found and removed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pelorin {

// A zero-terminated wide path. (A vector rather than std::wstring keeps the runtime's wide
// string code out of the wizards.)
class WidePath {
public:
    explicit WidePath(std::vector<wchar_t> text) : text_(std::move(text)) {}
    const wchar_t* c_str() const { return text_.data(); }

private:
    std::vector<wchar_t> text_;
};

// The path for the wide calls: a path that fits the ANSI calls as it is, in wide characters;
// a longer one made full and given the extended prefix, which lifts the limit where the system
// supports it.
WidePath WidePathForSystem(const std::string& path);

// GetFileAttributes, DeleteFile, RemoveDirectory and delayed removal, for paths of any length.
DWORD PathAttributes(const std::string& path);
bool DeletePath(const std::string& path);
bool RemoveDirectoryPath(const std::string& path);
bool RemovePathAtRestart(const std::string& path);

}  // namespace pelorin
