// System services for the registry: string values, value tests, deleting key trees, the
// stored form of the root keys, the program-files folder and the Start Menu's program folder.
#include "setup/CmnFunc.h"

#include <algorithm>
#include <vector>

#include "platform/win/Handles.h"
#include "setup/CmnFunc2.h"

namespace pelorin {

namespace {

constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The string value name of root\subkey; empty when anything is missing.
std::string ReadStringValue(HKEY root, const char* subkey, const char* name) {
    KeyHandle key;
    if (::RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::string();
    std::string value;
    return RegQueryStringValue(key.get(), name, value) ? value : std::string();
}

}  // namespace

bool RegQueryStringValue(HKEY key, const std::string& name, std::string& value) {
    value.clear();
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    if (size < 2) return true;
    std::vector<char> buffer(size);
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    // The text ends at its terminating zero; a value stored without one keeps every
    // character.
    const std::string stored(buffer.data(), std::min<std::size_t>(size, buffer.size()));
    value = stored.substr(0, stored.find('\0'));
    return true;
}

bool RegValueExists(HKEY key, const std::string& name) {
    return ::RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegDeleteKeyIncludingSubkeys(HKEY root, const std::string& subkey) {
    // An empty name (or one of backslashes only) would stand for root itself and
    // take everything below it along.
    if (subkey.find_first_not_of('\\') == std::string::npos) return false;
    if (IsNT()) {
        KeyHandle key;
        if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, key.put()) !=
            ERROR_SUCCESS)
            return false;
        DWORD index = 0;
        for (;;) {
            char name[256];
            DWORD length = sizeof name;
            if (::RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            // A deleted subkey makes room for the next one at the same index.
            if (!RegDeleteKeyIncludingSubkeys(key.get(), std::string(name, length))) ++index;
        }
    }
    return ::RegDeleteKeyA(root, subkey.c_str()) == ERROR_SUCCESS;
}

HKEY RootKeyHandle(std::uint32_t value) {
    if (value < 0x80000000u || value > 0x80000006u) return nullptr;
    // Predefined keys are sign-extended 32-bit values on 64-bit Windows.
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(value)));
}

std::uint32_t RootKeyValue(HKEY root) { return static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(root)); }

std::string GetProgramFilesDir(bool addBackslash) {
    const std::string dir = ReadStringValue(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir");
    return addBackslash ? AddBackslash(dir) : dir;
}

std::string GetProgramsFolder(bool common, bool addBackslash) {
    return GetProgramsFolder(common, addBackslash, GetWindowsVersion().Major);
}

std::string GetProgramsFolder(bool common, bool addBackslash, int windowsMajor) {
    if (windowsMajor <= 3) return std::string();
    std::string dir;
    if (common) dir = ReadStringValue(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Common Programs");
    if (dir.empty()) dir = ReadStringValue(HKEY_CURRENT_USER, kShellFoldersKey, "Programs");
    return addBackslash ? AddBackslash(dir) : dir;
}

}  // namespace pelorin
