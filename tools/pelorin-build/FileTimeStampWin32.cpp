// Win32 side of setting a time stamp: SetFileTime on the creation and last-write times,
// as the setup program does after it has written a file.
#include "tools/pelorin-build/FileTimeStamp.h"

#include <windows.h>

#include "platform/win/Handles.h"

namespace pelorin {

bool SetLastWriteTime(const std::string& path, FileTime time) {
    const FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const FILETIME stamp{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    return SetFileTime(file.get(), &stamp, nullptr, &stamp) != 0;
}

}  // namespace pelorin
