// Little-endian reading and writing of fixed-width integers in byte buffers,
// for the portable Windows image code of the authoring tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelorin::le {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void put32(Bytes& out, std::size_t at, std::uint32_t v) {
    put16(out, at, static_cast<std::uint16_t>(v));
    put16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

inline void put64(Bytes& out, std::size_t at, std::uint64_t v) {
    put32(out, at, static_cast<std::uint32_t>(v));
    put32(out, at + 4, static_cast<std::uint32_t>(v >> 32));
}

inline std::uint16_t get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

inline std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(get16(p)) | (static_cast<std::uint32_t>(get16(p + 2)) << 16);
}

}  // namespace pelorin::le
