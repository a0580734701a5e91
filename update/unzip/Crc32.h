// CRC-32 with the reflected polynomial EDB88320, many bytes a step. The running value starts at
// FFFFFFFF; the checksum is its complement.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelorin {

constexpr std::uint32_t kCrcStart = 0xFFFFFFFFu;

std::uint32_t UpdateCrc32(std::uint32_t running, const std::uint8_t* data, std::size_t count);
// One byte, as the traditional encryption needs it.
std::uint32_t Crc32Byte(std::uint32_t running, std::uint8_t byte);

}  // namespace pelorin
