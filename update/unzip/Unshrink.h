// Method 1, shrunk: dynamic LZW with 9- to 13-bit codes, code size steps and
// partial clearing of the code table.
#pragma once

#include <cstdint>

#include "update/unzip/BitReader.h"
#include "update/unzip/DecodeIO.h"

namespace pelorin {

// Decodes up to uncompressedSize bytes; the code tables and the string stack
// live in window (kWindowBufferSize bytes).
void Unshrink(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint8_t* window);

}  // namespace pelorin
