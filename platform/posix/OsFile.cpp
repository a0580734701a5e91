// OsFile on POSIX: a file descriptor. Share modes have no POSIX counterpart and are ignored.
// Short reads and writes are retried until the count is reached or nothing moves.
#include "platform/OsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "platform/TransferAll.h"
#include "platform/posix/NativePath.h"

namespace pelorin {

namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

// The bytes one read or write moved, tried again when a signal interrupted it; 0 on failure.
template <class Call>
std::size_t Moved(Call call) {
    for (;;) {
        const ssize_t n = call();
        if (n < 0 && errno == EINTR) continue;
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

}  // namespace

OsFile OsFile::Open(const std::string& path, TFileAccess access, TFileShare /*share*/) {
    const int flags = access == TFileAccess::faRead ? O_RDONLY : access == TFileAccess::faWrite ? O_WRONLY : O_RDWR;
    const std::string native = NativePath(path);
    const int fd = ::open(native.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return OsFile();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return OsFile();
    }
    return OsFile(fd);
}

OsFile OsFile::Create(const std::string& path) {
    const std::string native = NativePath(path);
    const int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd < 0 ? OsFile() : OsFile(fd);
}

std::size_t OsFile::Read(void* buffer, std::size_t count) {
    if (!IsOpen()) return 0;
    auto* out = static_cast<char*>(buffer);
    return TransferAll(count, [&](std::size_t done, std::size_t left) {
        return Moved([&] { return ::read(Fd(handle_), out + done, left); });
    });
}

std::size_t OsFile::Write(const void* buffer, std::size_t count) {
    if (!IsOpen()) return 0;
    const auto* in = static_cast<const char*>(buffer);
    writeError_ = 0;
    const std::size_t moved = TransferAll(count, [&](std::size_t done, std::size_t left) {
        errno = 0;
        const std::size_t put = Moved([&] { return ::write(Fd(handle_), in + done, left); });
        if (put == 0) writeError_ = errno != 0 ? errno : ENOSPC;
        return put;
    });
    if (moved < count && writeError_ == 0) writeError_ = ENOSPC;
    return moved;
}

std::string OsFile::WriteErrorText() const {
    return writeError_ == 0 ? std::string() : std::string(std::strerror(static_cast<int>(writeError_)));
}

std::int64_t OsFile::Seek(std::int64_t offset, int origin) {
    if (!IsOpen()) return -1;
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
    if (whence < 0) return -1;
    const off_t result = ::lseek(Fd(handle_), static_cast<off_t>(offset), whence);
    return result < 0 ? -1 : static_cast<std::int64_t>(result);
}

std::int64_t OsFile::Size() {
    if (!IsOpen()) return -1;
    struct stat st {};
    if (::fstat(Fd(handle_), &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

void OsFile::Close() {
    if (!IsOpen()) return;
    ::close(Fd(std::exchange(handle_, kNone)));
}

}  // namespace pelorin
