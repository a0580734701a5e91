// Whole-file helpers for tests: a file read or written at once, whether a file or a folder
// is there, the names in a folder, and paths joined with the platform's separator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin::testing {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// folder, the separator and name, with each '/' or '\' in name turned into the separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// The contents of a file; empty when it cannot be read.
std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
// Writes the file anew, creating the folders above it that are missing.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// A file (not a folder) is there.
bool FileExists(const std::string& path);
// A folder is there.
bool DirExists(const std::string& path);
// Names of the entries of a folder, sorted; empty when it does not exist.
std::vector<std::string> ListFolder(const std::string& path);

}  // namespace pelorin::testing
