// Methods 2 to 5, reduced: bytes coded through per-byte follower sets, with
// run-length escapes copied from a 16384-byte window.
#pragma once

#include <cstdint>

#include "update/unzip/BitReader.h"
#include "update/unzip/DecodeIO.h"

namespace pelorin {

// factor is 1 to 4 (method minus one). The window takes the first 16384 bytes of
// window, the follower sets the next 16384.
void Unreduce(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, unsigned factor,
              std::uint8_t* window);

}  // namespace pelorin
