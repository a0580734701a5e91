// Win32 side of the host services: the file time straight from the file system
// and the module file name of the running tool.
#include "tools/pelorin-build/HostSystem.h"

#include <windows.h>

#include <vector>

#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

FileTime LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        throw BuildError(path, 0, "", "cannot read the file's time stamp");
    return (static_cast<FileTime>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

std::string OwnExecutablePath() {
    std::vector<char> buffer(MAX_PATH * 4);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return std::string();
    return std::string(buffer.data(), length);
}

}  // namespace pelorin
