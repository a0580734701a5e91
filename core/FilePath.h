// Pure text handling of Windows paths: trailing backslashes, and the split of a path
// into its folder, its file name and its extension. Nothing here touches the disk.
#pragma once

#include <string>

namespace pelorin {

// path + "\" unless path is empty or already ends with "\".
std::string AddBackslash(const std::string& path);

// path without its last character when that is "\" (only one is removed).
std::string RemoveBackslash(const std::string& path);

// Everything up to and including the last "\" or ":" (empty when there is none).
std::string ExtractFilePath(const std::string& path);

// Everything after the last "\" or ":" (the whole path when there is none).
std::string ExtractFileName(const std::string& path);

// The path with the extension of its file name (from its last ".") replaced by
// extension, or extension appended when the file name has none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

}  // namespace pelorin
