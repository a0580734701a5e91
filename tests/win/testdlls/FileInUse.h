// FileInUse: holds a file open the way a running program would, so that deleting or
// replacing it fails with ERROR_SHARING_VIOLATION (32) until the holder goes away.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/Handles.h"

namespace pelorin::testing {

class FileInUse {
public:
    // Opens the existing file for reading and shares reading only (no write, no delete).
    explicit FileInUse(const std::string& path);

    bool held() const { return handle_.valid(); }
    void Release() { handle_.reset(); }

private:
    FileHandle handle_;
};

}  // namespace pelorin::testing
