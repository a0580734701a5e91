// Version block and time stamp of existing files, read through version.dll and FindFirstFile.
// The version buffer lives only for the query; the search handle is closed on every way out.
#include "setup/install/FileRulesVersion.h"

#include <vector>

#include "platform/win/Handles.h"

namespace pelorin {

bool GetVersionInfo(const std::string& path, VS_FIXEDFILEINFO& info) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return false;
    std::vector<char> buffer(size);
    if (!::GetFileVersionInfoA(path.c_str(), handle, size, buffer.data())) return false;
    void* block = nullptr;
    UINT blockSize = 0;
    char root[] = "\\";
    if (!::VerQueryValueA(buffer.data(), root, &block, &blockSize) || !block) return false;
    if (blockSize < sizeof(VS_FIXEDFILEINFO)) return false;
    info = *static_cast<const VS_FIXEDFILEINFO*>(block);
    return true;
}

bool GetLastWriteTime(const std::string& path, FILETIME& time) {
    WIN32_FIND_DATAA data{};
    const FindHandle found(::FindFirstFileA(path.c_str(), &data));
    if (!found) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    time = data.ftLastWriteTime;
    return true;
}

int CompareFileVersions(DWORD aMS, DWORD aLS, DWORD bMS, DWORD bLS) {
    const auto compare = [](DWORD a, DWORD b) {
        const auto sa = static_cast<LONG>(a), sb = static_cast<LONG>(b);
        return sa < sb ? -1 : (sa > sb ? 1 : 0);
    };
    const int high = compare(aMS, bMS);
    return high != 0 ? high : compare(aLS, bLS);
}

}  // namespace pelorin
