// What the round trip reads back from the machine: system folders, registry values and
// shell links, each answering "absent" rather than failing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelorin::e2e {

extern const char* const kUninstallKey;    // under HKLM
extern const char* const kSharedKey;       // SharedDLLs, under HKLM
extern const char* const kSessionManager;  // restart replacements, under HKLM

std::string WindowsDir();
std::string ProgramFilesDir();
// The long form of an existing path (temporary folders may come as 8.3 names).
std::string LongPath(const std::string& path);
// The programs folder of the start menu (CSIDL_COMMON_PROGRAMS or CSIDL_PROGRAMS).
std::string ProgramsFolder(int csidl);

bool equalsIgnoringCase(const std::string& a, const std::string& b);
bool Exists(const std::string& path);
std::string Text(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> Bytes(const std::string& text);

std::optional<std::string> RegString(HKEY root, const std::string& key, const char* name);
std::optional<DWORD> RegNumber(HKEY root, const std::string& key, const char* name);
// The strings of a multi-string value, joined with "|"; empty when absent.
std::string RegMultiString(HKEY root, const std::string& key, const char* name);

struct LinkTarget {
    std::string path;
    std::string arguments;
};

// Target and arguments of a shell link; needs COM on the calling thread.
std::optional<LinkTarget> ReadLink(const std::string& link);

}  // namespace pelorin::e2e
