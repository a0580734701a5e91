// The shared counters through the registry functions themselves; the SharedDLLs key is
// created when a counter is set and only opened otherwise.
#include "tests/support/win/SharedCounters.h"

#include "platform/win/Handles.h"
#include "setup/install/FileRulesShared.h"

namespace pelorin::testing {

DWORD ReadSharedCounter(const std::string& path, std::string& bytes) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return REG_NONE;
    DWORD type = REG_NONE, size = 0;
    if (::RegQueryValueExA(key.get(), path.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return REG_NONE;
    bytes.assign(size, '\0');
    ::RegQueryValueExA(key.get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
    bytes.resize(size);
    return type;
}

void WriteSharedCounter(const std::string& path, DWORD type, const std::string& bytes) {
    KeyHandle key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
    ::RegSetValueExA(key.get(), path.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
}

void SetSharedCount(const std::string& path, DWORD count) {
    WriteSharedCounter(path, REG_DWORD, std::string(reinterpret_cast<const char*>(&count), sizeof count));
}

bool SharedCounterExists(const std::string& path) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    return ::RegQueryValueExA(key.get(), path.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void DeleteSharedCounter(const std::string& path) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), path.c_str());
}

}  // namespace pelorin::testing
