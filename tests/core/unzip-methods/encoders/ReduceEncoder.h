// Test-only reduce encoder (factors 1 to 4): escape-coded matches, then the
// follower-set stage with sets chosen from the byte statistics.
#pragma once

#include <cstdint>
#include <vector>

namespace pelorin::test {

struct ReduceOptions {
    unsigned factor = 4;
    // Allow matches into the zero bytes that precede the data.
    bool matchBeforeStart = false;
    // Largest follower set (0 to 63); 0 sends every byte as 8 bits.
    unsigned maxFollowers = 63;
};

std::vector<std::uint8_t> Reduce(const std::vector<std::uint8_t>& input, const ReduceOptions& options);

}  // namespace pelorin::test
