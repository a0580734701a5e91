// The little the authoring tool needs from the operating system beyond standard C++:
// a file's last-write time in file-time units, and the tool's own path.
#pragma once

#include <cstdint>
#include <string>

namespace pelorin {

// Windows file time: 100-nanosecond units since 1 January 1601, UTC.
using FileTime = std::uint64_t;

// Seconds between 1601-01-01 and 1970-01-01.
constexpr std::uint64_t kUnixEpochInFileTimeSeconds = 11644473600ull;

constexpr FileTime FileTimeFromUnix(std::int64_t seconds, std::uint32_t nanoseconds) {
    return (static_cast<std::uint64_t>(seconds) + kUnixEpochInFileTimeSeconds) * 10000000ull + nanoseconds / 100;
}

// Last-write time of an existing file; throws BuildError naming the path when unknown.
FileTime LastWriteTime(const std::string& path);

// Full path of the running tool, empty when it cannot be found.
std::string OwnExecutablePath();

}  // namespace pelorin
