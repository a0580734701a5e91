// The compression methods an entry's header names, by the numbers stored for them.
// The header keeps the raw number: an archive may name a method this list does not know.
#pragma once

#include <cstdint>

namespace pelorin {

enum class ZipMethod : std::uint16_t {
    Stored = 0,
    Shrunk = 1,
    Reduced1 = 2,
    Reduced2 = 3,
    Reduced3 = 4,
    Reduced4 = 5,
    Imploded = 6,
    Deflated = 8,
};

}  // namespace pelorin
