// Writes PELORIN.DAT: for each file entry "zel8" and one zlib stream of its source,
// and fills the entry's offset, sizes, checksum, time stamp and version.
#pragma once

#include <iosfwd>

#include "tools/pelorin-build/Project.h"

namespace pelorin {

// Sources named more than once are stored once and shared by their entries.
// Throws BuildError naming the project line of a source that cannot be stored.
void WriteDataArchive(Project& project, std::ostream& out);

}  // namespace pelorin
