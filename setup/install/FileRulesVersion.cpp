// Version block and time stamp of existing files, read through the system folder's version.dll
// and FindFirstFile. The version buffer lives only for the query; the search handle is closed on every way out.
#include "setup/install/FileRulesVersion.h"

#include <vector>

#include "platform/win/Handles.h"
#include "platform/win/SystemLibrary.h"

namespace pelorin {

namespace {

constexpr const char* kVersionLibrary = "version.dll";

// version.dll is not among the libraries that Windows always takes from its system folder, so
// it is loaded from there by full path on first use instead of being imported.
struct VersionApi {
    decltype(&::GetFileVersionInfoSizeA) GetFileVersionInfoSizeA;
    decltype(&::GetFileVersionInfoA) GetFileVersionInfoA;
    decltype(&::VerQueryValueA) VerQueryValueA;
};

const VersionApi& VersionLibrary() {
    static const VersionApi api{
        SystemProc<decltype(&::GetFileVersionInfoSizeA)>(kVersionLibrary, "GetFileVersionInfoSizeA"),
        SystemProc<decltype(&::GetFileVersionInfoA)>(kVersionLibrary, "GetFileVersionInfoA"),
        SystemProc<decltype(&::VerQueryValueA)>(kVersionLibrary, "VerQueryValueA"),
    };
    return api;
}

}  // namespace

bool GetVersionInfo(const std::string& path, VS_FIXEDFILEINFO& info) {
    const VersionApi& version = VersionLibrary();
    DWORD handle = 0;
    const DWORD size = version.GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) return false;
    std::vector<char> buffer(size);
    if (!version.GetFileVersionInfoA(path.c_str(), handle, size, buffer.data())) return false;
    void* block = nullptr;
    UINT blockSize = 0;
    char root[] = "\\";
    if (!version.VerQueryValueA(buffer.data(), root, &block, &blockSize) || !block) return false;
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
