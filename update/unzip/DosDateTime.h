// DOS date-times as the archive headers hold them (date in the high half, time in the low):
// the repair of impossible fields and the conversion to a point in time for ordering.
#pragma once

#include <cstdint>

namespace pelorin {

// Keeps a valid value; otherwise clamps each field into its range.
std::uint32_t RepairDosDateTime(std::uint32_t dateTime);
// Seconds since 1 January 1980 plus one, or 0 when the value is no real date and time.
std::int64_t DosDateTimeOrder(std::uint32_t dateTime);

}  // namespace pelorin
