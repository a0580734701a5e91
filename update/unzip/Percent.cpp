// Percent rounding in integers, so that halves go to the even neighbour exactly.
// Negative parts round towards the even neighbour as well.
#include "update/unzip/Percent.h"

namespace pelorin {

int RoundPercent(std::int64_t part, std::int64_t whole) {
    if (whole <= 0) return 0;
    const std::int64_t scaled = part * 100;
    std::int64_t quotient = scaled / whole;
    std::int64_t remainder = scaled % whole;
    if (remainder < 0) {  // floor division for negative parts
        quotient -= 1;
        remainder += whole;
    }
    const std::int64_t twice = remainder * 2;
    if (twice > whole || (twice == whole && quotient % 2 != 0)) quotient += 1;
    return quotient > 100 ? 100 : static_cast<int>(quotient);
}

}  // namespace pelorin
