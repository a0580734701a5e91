// Where a Windows program's own image ends in a file, read from its headers alone, piece by
// piece, so that an archive appended to a large program need not be held in memory.
#pragma once

#include <cstdint>
#include <optional>

#include "update/strings/Stream.h"

namespace pelorin {

// The end of the raw data of the sections (and of the symbol table, when one was kept) of the
// program at the start of file, which is left at some position. None when the file does not
// start with a Windows program, or its headers name bytes past the file's end.
std::optional<std::uint64_t> ProgramImageEnd(TStream& file);

}  // namespace pelorin
