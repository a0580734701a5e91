// Where a Windows program's own image ends in a file, read from its headers alone, piece by
// piece, so that an archive appended to a large program need not be held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace pelorin {

// Reads up to count bytes at offset from the start of the file; returns how many it read.
using ImageBytesReader = std::function<std::size_t(std::uint64_t offset, std::uint8_t* buffer, std::size_t count)>;

// The end of the raw data of the sections (and of the symbol table, when one was kept) of the
// program at the start of a file of fileSize bytes. None when the file does not start with a
// Windows program, or its headers name bytes past the file's end.
std::optional<std::uint64_t> ProgramImageEnd(const ImageBytesReader& read, std::uint64_t fileSize);

}  // namespace pelorin
