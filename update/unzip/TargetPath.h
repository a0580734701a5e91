// Where an entry is written: the folder built from DestDir, RootDir and the entry's path.
// Entry paths never lead out of DestDir: "." and ".." parts and empty parts are dropped.
#pragma once

#include <string>

namespace pelorin {

// The entry's path with "." , ".." and empty parts dropped; ends with a backslash unless empty.
std::string SafeRelativePath(const std::string& path);

// The folder for an entry, ending with a backslash (empty: the current folder).
// destDir is stored without a trailing backslash; rootDir with one (or empty).
// With recreateDirs off, or for an empty path, every entry goes straight into destDir.
// A path starting with "\" or a drive ("C:") lands below destDir without that prefix;
// without destDir such a path is used as it is.
std::string EntryFolder(const std::string& destDir, const std::string& rootDir, const std::string& path,
                        bool recreateDirs);

// A file name that would not name a plain file inside its folder: "", ".", "..", or any name
// holding a colon (an alternate data stream on NTFS, or "C:name" in a drive's current folder).
bool IsUnsafeFileName(const std::string& name);
// An entry path with a colon anywhere but in a leading drive ("C:\"): such a folder part is no
// folder name on Windows either.
bool HasStrayColon(const std::string& path);

}  // namespace pelorin
