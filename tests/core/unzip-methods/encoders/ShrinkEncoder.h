// Test-only shrink encoder: LZW with 9- to 13-bit codes that mirrors the
// decoder's code table, including partial clears.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelorin::test {

struct ShrinkOptions {
    // Send a partial clear whenever the code table is full.
    bool clearWhenFull = true;
    // Also send one after every this many codes (0: never), to exercise
    // reassigned codes on small inputs.
    std::size_t clearEvery = 0;
};

struct ShrinkResult {
    std::vector<std::uint8_t> data;
    std::size_t partialClears = 0;
    std::size_t sizeSteps = 0;
};

ShrinkResult Shrink(const std::vector<std::uint8_t>& input, const ShrinkOptions& options = {});

}  // namespace pelorin::test
