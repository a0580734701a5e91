// POSIX side of the host services: stat() with nanosecond modification times and
// the running program's path from /proc.
#include "tools/pelorin-build/HostSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

FileTime LastWriteTime(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) throw BuildError(path, 0, "", "cannot read the file's time stamp");
    if (info.st_mtim.tv_sec < -static_cast<std::int64_t>(kUnixEpochInFileTimeSeconds))
        throw BuildError(path, 0, "", "the file's time stamp lies before 1601");
    return FileTimeFromUnix(info.st_mtim.tv_sec, static_cast<std::uint32_t>(info.st_mtim.tv_nsec));
}

std::string OwnExecutablePath() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return std::string();
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace pelorin
