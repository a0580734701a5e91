// Fills the first "%d" or "%s" of a message pattern, the way the message texts are written.
// Only what the message texts of this program use: one number or one text.
#pragma once

#include <string>

namespace pelorin {

std::string FormatText(const std::string& pattern, long long value);
std::string FormatText(const std::string& pattern, const std::string& value);

}  // namespace pelorin
