// Reads system folders, registry values and shell links for the round trip's checks,
// through the plain Win32 and shell interfaces the installed programs use themselves.
#include "tests/e2e/roundtrip/SystemState.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

namespace pelorin::e2e {

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char* const kSharedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

std::string WindowsDir() {
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    return dir;
}

std::string ProgramFilesDir() {
    char dir[MAX_PATH] = {};
    DWORD size = sizeof dir;
    ::RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", RRF_RT_REG_SZ,
                   nullptr, dir, &size);
    return dir;
}

std::string LongPath(const std::string& path) {
    char full[MAX_PATH] = {};
    const DWORD length = ::GetLongPathNameA(path.c_str(), full, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Text(const std::vector<std::uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

std::optional<std::string> RegString(HKEY root, const std::string& key, const char* name) {
    char data[1024] = {};
    DWORD size = sizeof data;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data);
}

std::optional<DWORD> RegNumber(HKEY root, const std::string& key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::string RegMultiString(HKEY root, const std::string& key, const char* name) {
    std::vector<char> data(65536);
    DWORD size = static_cast<DWORD>(data.size());
    if (::RegGetValueA(root, key.c_str(), name, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return std::string();
    std::string joined(data.data(), size);
    std::replace(joined.begin(), joined.end(), '\0', '|');
    return joined;
}

std::optional<LinkTarget> ReadLink(const std::string& link) {
    IShellLinkA* shellLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&shellLink))))
        return std::nullopt;
    std::optional<LinkTarget> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        const std::wstring wide(link.begin(), link.end());
        char path[MAX_PATH] = {};
        char arguments[1024] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
            SUCCEEDED(shellLink->GetArguments(arguments, sizeof arguments)))
            result = LinkTarget{path, arguments};
        file->Release();
    }
    shellLink->Release();
    return result;
}

std::string ProgramsFolder(int csidl) {
    char dir[MAX_PATH] = {};
    return ::SHGetSpecialFolderPathA(nullptr, dir, csidl, FALSE) ? std::string(dir) : std::string();
}

}  // namespace pelorin::e2e
