// The time stamp the tool writes into the images it makes itself: SOURCE_DATE_EPOCH when the
// environment sets it (reproducible builds), else 0, so that a build never depends on the clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pelorin {

// The value of SOURCE_DATE_EPOCH as an image's 32-bit TimeDateStamp: 0 when it is not set.
// Throws BuildError when it is set but is not a whole number of seconds that fits.
std::uint32_t ImageTimeStamp();

// The rule above for a given value (the variable's text, or none when it is not set).
std::uint32_t ImageTimeStamp(const std::optional<std::string>& sourceDateEpoch);

}  // namespace pelorin
