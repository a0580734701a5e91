// A picture of the machine's state that an installation touches: registry keys and
// values under chosen roots, and the files and folders of the system drive.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace pelorin::e2e {

// One entry per key ("key HKLM\...") and per value ("value HKLM\...\name") or
// file/folder ("file C:\...", "dir C:\..."), mapped to what it holds (value type
// and data; file size and write time). Names compare as written.
using Snapshot = std::map<std::string, std::string>;

struct RegistryRoot {
    HKEY root;
    const char* rootName;  // "HKLM", "HKCU"
    std::string subKey;
};

// Walks every key and value below the roots; a root that does not exist adds nothing.
Snapshot SnapshotRegistry(const std::vector<RegistryRoot>& roots);

// Walks the folder tree below drive (e.g. "C:"), leaving out the folders in skip
// (and everything below them), compared without regard to case.
Snapshot SnapshotFiles(const std::string& drive, const std::vector<std::string>& skip);

struct SnapshotDiff {
    std::vector<std::string> added;    // present only afterwards
    std::vector<std::string> removed;  // present only before
    std::vector<std::string> changed;  // present in both, with other contents
};

SnapshotDiff Compare(const Snapshot& before, const Snapshot& after);

// Drops the entries that match ignore (whole names, compared without regard to case;
// a trailing "*" matches any rest), e.g. what Wine itself changes between two looks.
std::vector<std::string> Without(const std::vector<std::string>& entries, const std::vector<std::string>& ignore);

}  // namespace pelorin::e2e
