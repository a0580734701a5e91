// The files of a folder tree that a [File] block with DestDir selects: a name pattern in
// one folder, optionally with its subfolders, less what its Excludes patterns name.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

struct TreeSelection {
    std::string folder;   // on the building machine
    std::string pattern;  // "*" and "?", matched against file names without regard to ASCII case
    bool recurse = false;
    std::vector<std::string> excludes;  // see IsExcluded
};

struct TreeFile {
    std::string path;      // on the building machine
    std::string relative;  // below TreeSelection::folder, folders separated by "\"
};

struct TreeListing {
    std::vector<TreeFile> files;  // sorted bytewise by relative
    int excluded = 0;             // files and folders that an exclude removed
};

// Throws BuildError (without a location) when a folder cannot be read or a name found
// is one that Windows cannot hold.
TreeListing ListFileTree(const TreeSelection& selection);

// An exclude pattern ("/" or "\" separate folders) names a file when it matches a leading
// part of its relative path, folder by folder, so that a folder takes everything below it
// along. A pattern of one name without a separator matches that name at any depth; a
// leading separator ties it to the top folder. Wildcards never cross a separator.
bool IsExcluded(const std::vector<std::string>& excludes, const std::string& relative);

// Empty when a Source or exclude pattern can be used, else what is wrong with it: it names
// nothing, or holds a character that no Windows file name holds ("*" and "?" aside).
std::string PatternProblem(const std::string& pattern);

}  // namespace pelorin
