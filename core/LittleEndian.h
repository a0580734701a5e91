// Little-endian reading and writing of fixed-width integers in byte buffers: the byte
// order of every number in the files the programs and tools read and write.
#pragma once

#include <cstdint>

namespace pelorin {

inline std::uint16_t GetLE16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

inline std::uint32_t GetLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

inline std::uint64_t GetLE64(const std::uint8_t* p) {
    return std::uint64_t(GetLE32(p)) | std::uint64_t(GetLE32(p + 4)) << 32;
}

inline void PutLE16(std::uint8_t* p, std::uint16_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLE32(std::uint8_t* p, std::uint32_t value) {
    PutLE16(p, static_cast<std::uint16_t>(value));
    PutLE16(p + 2, static_cast<std::uint16_t>(value >> 16));
}

inline void PutLE64(std::uint8_t* p, std::uint64_t value) {
    PutLE32(p, static_cast<std::uint32_t>(value));
    PutLE32(p + 4, static_cast<std::uint32_t>(value >> 32));
}

// Appends to the end of any byte container with push_back (std::string, std::vector).
template <class Bytes>
void AppendLE16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<typename Bytes::value_type>(value & 0xFF));
    out.push_back(static_cast<typename Bytes::value_type>(value >> 8));
}

template <class Bytes>
void AppendLE32(Bytes& out, std::uint32_t value) {
    AppendLE16(out, static_cast<std::uint16_t>(value));
    AppendLE16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace pelorin
