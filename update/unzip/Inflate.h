// Method 8, deflated: stored, fixed-code and dynamic-code blocks over a
// 32768-byte window, until the final block.
#pragma once

#include <cstdint>

#include "update/unzip/BitReader.h"
#include "update/unzip/DecodeIO.h"

namespace pelorin {

// Shown (titled "Error") when a decoding table does not fit its storage.
constexpr const char* kInflateOutOfMemory = "*** inflate out of memory ***";

void Inflate(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint8_t* window);

}  // namespace pelorin
