// MulDiv on the magnitudes, with the sign put back afterwards, so that halves round away from
// zero on both sides.
#include "core/MulDiv.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace pelorin {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = std::llabs(product), divisor = std::llabs(static_cast<std::int64_t>(c));
    const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > std::numeric_limits<int>::max()) return -1;
    return static_cast<int>(negative ? -quotient : quotient);
}

}  // namespace pelorin
