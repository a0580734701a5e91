// Percentages of the progress events and of the compression rate: part x 100 / whole,
// rounded to the nearest whole number with halves to even, at most 100, 0 for no whole.
#pragma once

#include <cstdint>

namespace pelorin {

int RoundPercent(std::int64_t part, std::int64_t whole);

}  // namespace pelorin
