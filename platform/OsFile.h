// OsFile: one open file of the operating system, closed when the owner goes away.
// Reading, writing and seeking report failures through their results, never by throwing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace pelorin {

enum class TFileAccess { faRead, faWrite, faReadWrite };
enum class TFileShare { fsExclusive, fsDenyWrite, fsDenyRead, fsDenyNone };

class OsFile {
public:
    OsFile() = default;
    ~OsFile() { Close(); }
    OsFile(const OsFile&) = delete;
    OsFile& operator=(const OsFile&) = delete;
    OsFile(OsFile&& other) noexcept
        : handle_(std::exchange(other.handle_, kNone)), writeError_(std::exchange(other.writeError_, 0)) {}
    OsFile& operator=(OsFile&& other) noexcept {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, kNone);
            writeError_ = std::exchange(other.writeError_, 0);
        }
        return *this;
    }

    // Opens an existing file; an unopened OsFile when that fails.
    static OsFile Open(const std::string& path, TFileAccess access, TFileShare share);
    // Creates the file for reading and writing, emptying an existing one.
    static OsFile Create(const std::string& path);

    bool IsOpen() const { return handle_ != kNone; }
    std::size_t Read(void* buffer, std::size_t count);
    // Writes count bytes; fewer when the system failed, and then WriteErrorText says why.
    std::size_t Write(const void* buffer, std::size_t count);
    // The system's text for the last Write that came back short (a short count without an error
    // is a full disk); empty when the last Write was complete.
    std::string WriteErrorText() const;
    // origin 0 from the start, 1 from the current position, 2 from the end; -1 on failure.
    std::int64_t Seek(std::int64_t offset, int origin);
    std::int64_t Size();
    void Close();

private:
    static constexpr std::intptr_t kNone = -1;
    explicit OsFile(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = kNone;  // a file descriptor, or a Win32 HANDLE
    unsigned long writeError_ = 0;  // errno or a Win32 error code of the last short Write, 0 if none
};

}  // namespace pelorin
