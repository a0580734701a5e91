// OsFile on Win32: a file HANDLE from CreateFileA, with the share mode the caller asks for.
// Reads and writes loop in chunks that a DWORD can count.
#include "platform/OsFile.h"

#include <windows.h>

#include <string>
#include <utility>

#include "platform/TransferAll.h"
#include "platform/win/WriteResult.h"

namespace pelorin {

namespace {

HANDLE Handle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// One system call moves at most 1 GB, well within what a DWORD counts.
DWORD Chunk(std::size_t left) { return static_cast<DWORD>(left > 0x40000000 ? 0x40000000 : left); }

DWORD ShareMode(TFileShare share) {
    switch (share) {
    case TFileShare::fsExclusive: return 0;
    case TFileShare::fsDenyWrite: return FILE_SHARE_READ;
    case TFileShare::fsDenyRead: return FILE_SHARE_WRITE;
    case TFileShare::fsDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
    return 0;
}

}  // namespace

OsFile OsFile::Open(const std::string& path, TFileAccess access, TFileShare share) {
    const DWORD desired = access == TFileAccess::faRead    ? GENERIC_READ
                          : access == TFileAccess::faWrite ? GENERIC_WRITE
                                                           : GENERIC_READ | GENERIC_WRITE;
    const HANDLE h =
        ::CreateFileA(path.c_str(), desired, ShareMode(share), nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? OsFile() : OsFile(reinterpret_cast<std::intptr_t>(h));
}

OsFile OsFile::Create(const std::string& path) {
    const HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? OsFile() : OsFile(reinterpret_cast<std::intptr_t>(h));
}

std::size_t OsFile::Read(void* buffer, std::size_t count) {
    if (!IsOpen()) return 0;
    auto* out = static_cast<char*>(buffer);
    return TransferAll(count, [&](std::size_t done, std::size_t left) -> std::size_t {
        DWORD got = 0;
        return ::ReadFile(Handle(handle_), out + done, Chunk(left), &got, nullptr) ? got : 0;
    });
}

std::size_t OsFile::Write(const void* buffer, std::size_t count) {
    if (!IsOpen()) return 0;
    const auto* in = static_cast<const char*>(buffer);
    writeError_ = ERROR_SUCCESS;
    return TransferAll(count, [&](std::size_t done, std::size_t left) -> std::size_t {
        DWORD put = 0;
        const DWORD wanted = Chunk(left);
        const BOOL ok = ::WriteFile(Handle(handle_), in + done, wanted, &put, nullptr);
        writeError_ = WriteFileError(ok, put, wanted);
        return ok ? put : 0;
    });
}

std::string OsFile::WriteErrorText() const {
    if (writeError_ == ERROR_SUCCESS) return std::string();
    char text[512] = {};
    DWORD size = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, writeError_, 0,
                                  text, sizeof text, nullptr);
    while (size > 0 && (text[size - 1] == '\r' || text[size - 1] == '\n' || text[size - 1] == ' ')) --size;
    if (size == 0) return "Error " + std::to_string(writeError_);
    return std::string(text, size);
}

std::int64_t OsFile::Seek(std::int64_t offset, int origin) {
    if (!IsOpen() || origin < 0 || origin > 2) return -1;
    const DWORD method = origin == 0 ? FILE_BEGIN : origin == 1 ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER result;
    if (!::SetFilePointerEx(Handle(handle_), distance, &result, method)) return -1;
    return result.QuadPart;
}

std::int64_t OsFile::Size() {
    if (!IsOpen()) return -1;
    LARGE_INTEGER size;
    return ::GetFileSizeEx(Handle(handle_), &size) ? size.QuadPart : -1;
}

void OsFile::Close() {
    if (!IsOpen()) return;
    ::CloseHandle(Handle(std::exchange(handle_, kNone)));
}

}  // namespace pelorin
