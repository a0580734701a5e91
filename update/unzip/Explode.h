// Method 6, imploded: Shannon-Fano coded literals, lengths and distances over a
// 4096- or 8192-byte sliding dictionary.
#pragma once

#include <cstdint>

#include "update/unzip/BitReader.h"
#include "update/unzip/DecodeIO.h"

namespace pelorin {

// Flag bit 1 of the entry selects the 8192-byte dictionary.
constexpr std::uint16_t kImplodeLargeDictionary = 0x0002;
// Flag bit 2 selects three trees (a literal tree in front of length and distance).
constexpr std::uint16_t kImplodeLiteralTree = 0x0004;
// Above this compressed size the distance table is looked up with 8 bits instead of 7.
constexpr std::uint64_t kImplodeLargeEntry = 200000;

void Explode(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint64_t compressedSize,
             std::uint16_t flags, std::uint8_t* window);

}  // namespace pelorin
