// Test-only: packs values into bytes least-significant bit first, the order
// in which the decoders read them.
#pragma once

#include <cstdint>
#include <vector>

namespace pelorin::test {

class BitWriter {
public:
    void Put(std::uint32_t value, unsigned count);
    // Pads the last byte with zero bits and returns the bytes.
    std::vector<std::uint8_t> Finish();

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t bits_ = 0;
    unsigned held_ = 0;
};

// Reverses the lowest count bits, for codes defined most-significant bit first.
std::uint32_t Reversed(std::uint32_t code, unsigned count);

}  // namespace pelorin::test
