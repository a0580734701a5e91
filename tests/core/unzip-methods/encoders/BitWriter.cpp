// Test-only bit packing for the encoders.
#include "tests/core/unzip-methods/encoders/BitWriter.h"

namespace pelorin::test {

void BitWriter::Put(std::uint32_t value, unsigned count) {
    bits_ |= static_cast<std::uint64_t>(value & ((std::uint64_t{1} << count) - 1)) << held_;
    held_ += count;
    while (held_ >= 8) {
        bytes_.push_back(static_cast<std::uint8_t>(bits_));
        bits_ >>= 8;
        held_ -= 8;
    }
}

std::vector<std::uint8_t> BitWriter::Finish() {
    if (held_ > 0) bytes_.push_back(static_cast<std::uint8_t>(bits_));
    bits_ = 0;
    held_ = 0;
    return std::move(bytes_);
}

std::uint32_t Reversed(std::uint32_t code, unsigned count) {
    std::uint32_t result = 0;
    for (unsigned i = 0; i < count; ++i) result = (result << 1) | ((code >> i) & 1);
    return result;
}

}  // namespace pelorin::test
