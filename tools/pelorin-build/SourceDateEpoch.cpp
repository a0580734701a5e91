// ImageTimeStamp: decimal digits only, at most 4294967295 (the field holds 32 bits); anything
// else stops the build rather than writing a stamp nobody asked for.
#include "tools/pelorin-build/SourceDateEpoch.h"

#include <cstdlib>

#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

std::uint32_t ImageTimeStamp(const std::optional<std::string>& sourceDateEpoch) {
    if (!sourceDateEpoch) return 0;
    const std::string& text = *sourceDateEpoch;
    std::uint64_t seconds = 0;
    bool valid = !text.empty() && text.size() <= 10;
    for (const char c : text) {
        if (c < '0' || c > '9') valid = false;
        if (valid) seconds = seconds * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (!valid || seconds > 0xFFFFFFFFu)
        throw BuildError("SOURCE_DATE_EPOCH is not a number of seconds from 0 to 4294967295: \"" + text + "\"");
    return static_cast<std::uint32_t>(seconds);
}

std::uint32_t ImageTimeStamp() {
    const char* const value = std::getenv("SOURCE_DATE_EPOCH");
    return ImageTimeStamp(value ? std::optional<std::string>(value) : std::nullopt);
}

}  // namespace pelorin
