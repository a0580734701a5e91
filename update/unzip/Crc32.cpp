// CRC-32: the 256-entry table is computed once at compile time.
// One byte at a time, as both the checksum and the decryption keys need it.
#include "update/unzip/Crc32.h"

#include <array>

namespace pelorin {

namespace {

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

}  // namespace

std::uint32_t Crc32Byte(std::uint32_t running, std::uint8_t byte) {
    return kTable[(running ^ byte) & 0xFF] ^ (running >> 8);
}

std::uint32_t UpdateCrc32(std::uint32_t running, const std::uint8_t* data, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) running = Crc32Byte(running, data[i]);
    return running;
}

}  // namespace pelorin
