// Where the file entries go, as Windows sees it: no two of them may land on one name
// once a folder tree is involved, and every folder on the way becomes a recorded [Dir].
#pragma once

#include "tools/pelorin-build/Project.h"

namespace pelorin {

// Throws BuildError, naming both project lines, when a file of a folder tree goes where
// another entry goes too (names compared as Windows does: "/" as "\", ASCII case folded).
// Two [File] blocks of their own may still name one destination.
void CheckDestinations(const Project& project);

// Appends a DirEntry for each folder below {app}, {win}, {sys} or {src} that a file entry
// needs and no DirEntry names yet, parents before children, so that the setup program
// records every folder it makes and uninstalling takes them away again. Throws BuildError
// when such a folder is too long for DirName.
void AddNeededDirs(Project& project);

}  // namespace pelorin
