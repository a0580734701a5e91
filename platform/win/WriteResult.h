// What a WriteFile call stands for: the error to report when it wrote less than asked.
// Wine's WriteFile on a full drive succeeds with a short count, so a short count is a full disk.
#pragma once

#include <windows.h>

namespace pelorin {

// ERROR_SUCCESS when all wanted bytes went out; otherwise the error to report.
inline DWORD WriteFileError(BOOL ok, DWORD put, DWORD wanted) {
    if (!ok) {
        const DWORD error = ::GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT;
    }
    return put < wanted ? ERROR_DISK_FULL : ERROR_SUCCESS;
}

// Writes size bytes in one call; ERROR_SUCCESS or the error to report.
inline DWORD WriteWholeBuffer(HANDLE file, const void* data, DWORD size) {
    DWORD put = 0;
    const BOOL ok = ::WriteFile(file, data, size, &put, nullptr);
    return WriteFileError(ok, put, size);
}

}  // namespace pelorin
