// Test-only implode encoder: matches over a 4096- or 8192-byte dictionary,
// coded with two or three Shannon-Fano trees built from the symbol counts.
#pragma once

#include <cstdint>
#include <vector>

namespace pelorin::test {

struct ImplodeOptions {
    bool largeDictionary = false;  // general purpose flag bit 1
    bool literalTree = false;      // flag bit 2
};

std::vector<std::uint8_t> Implode(const std::vector<std::uint8_t>& input, const ImplodeOptions& options);

// The general purpose flags that go with the options.
std::uint16_t ImplodeFlags(const ImplodeOptions& options);

}  // namespace pelorin::test
