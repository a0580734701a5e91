// Filling message patterns: the first placeholder of the right kind takes the value.
// A pattern without the placeholder comes back unchanged.
#include "update/strings/TextFormat.h"

namespace pelorin {

namespace {

std::string Fill(const std::string& pattern, const char* placeholder, const std::string& value) {
    const std::size_t at = pattern.find(placeholder);
    if (at == std::string::npos) return pattern;
    return pattern.substr(0, at) + value + pattern.substr(at + 2);
}

}  // namespace

std::string FormatText(const std::string& pattern, long long value) {
    return Fill(pattern, "%d", std::to_string(value));
}

std::string FormatText(const std::string& pattern, const std::string& value) { return Fill(pattern, "%s", value); }

}  // namespace pelorin
