// The folder browser's status line: a path cut down to fit by dropping its inner folders,
// "C:\...\Common Files\System\Ole". Portable.
#pragma once

#include <cstddef>
#include <string>

namespace pelorin {

constexpr std::size_t StatusPathMaxLength = 35;

// A path longer than maxLength with more than two "\"-separated parts gets "..." for its
// second part; then, while it is still too long and has more than three parts, the third
// part goes. A path that cannot be cut enough stays longer than maxLength.
std::string ShortenStatusPath(const std::string& path, std::size_t maxLength = StatusPathMaxLength);

}  // namespace pelorin
