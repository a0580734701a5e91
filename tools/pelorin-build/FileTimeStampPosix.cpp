// POSIX side of setting a time stamp: utimensat with nanoseconds, so that a file time's
// 100-nanosecond units come back unchanged from stat().
#include "tools/pelorin-build/FileTimeStamp.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace pelorin {

bool SetLastWriteTime(const std::string& path, FileTime time) {
    constexpr FileTime kUnitsPerSecond = 10000000;
    timespec stamp{};
    stamp.tv_sec = static_cast<time_t>(static_cast<std::int64_t>(time / kUnitsPerSecond) -
                                       static_cast<std::int64_t>(kUnixEpochInFileTimeSeconds));
    stamp.tv_nsec = static_cast<long>(time % kUnitsPerSecond * 100);
    const timespec times[2] = {stamp, stamp};
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace pelorin
