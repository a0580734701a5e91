// A parsed project: the setup description to write (file entries still without
// their data fields) and, for each file entry, the source it is built from.
#pragma once

#include <string>
#include <vector>

#include "setup/Struct.h"

namespace pelorin {

struct FileSource {
    std::string path;         // as found on disk
    std::string projectFile;  // where it was named, for error messages
    int line = 0;
    int destLine = 0;       // line of DestName, or of DestDir for a file of a folder tree
    std::string treeFile;   // relative path within its folder tree; empty for a [File] of its own
    std::string stampPath;  // takes time stamp and version from here instead (the original of a signed copy)
};

// How hard PELORIN.DAT's files are compressed: zlib level 1, zlib's default level, or
// Zopfli's search (zlib streams that any inflate reads, a few percent smaller, much slower).
enum class Compression { Fast, Normal, Max };

struct Project {
    std::string path;
    SetupData setup;                                // counts and LicenseSize follow from the lists
    std::vector<FileSource> sources;                // one per setup.FileEntries element
    bool includeUninstaller = true;                 // [Setup] IncludeUninstaller
    Compression compression = Compression::Normal;  // [Setup] Compression
};

}  // namespace pelorin
