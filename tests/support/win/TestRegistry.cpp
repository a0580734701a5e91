// Registry scaffolding for tests: scratch keys removed with shlwapi's tree deletion
// (independent of the code under test) and saved values put back.
#include "tests/support/win/TestRegistry.h"

#include <shlwapi.h>

#include <stdexcept>

namespace pelorin::testing {

ScratchKey::ScratchKey()
    : path_("Software\\Pelorin Test " + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(::GetTickCount())) {
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(),
                          nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + path_);
}

ScratchKey::~ScratchKey() {
    key_.reset();
    ::SHDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

SavedValue::SavedValue(HKEY root, std::string subkey, std::string name)
    : root_(root), subkey_(std::move(subkey)), name_(std::move(name)) {
    KeyHandle key;
    if (::RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    std::vector<BYTE> data(size);
    if (::RegQueryValueExA(key.get(), name_.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return;
    data.resize(size);
    saved_.emplace(type, std::move(data));
}

SavedValue::~SavedValue() {
    if (!saved_) {
        DeleteValue(root_, subkey_, name_);
        return;
    }
    KeyHandle key;
    if (::RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS)
        ::RegSetValueExA(key.get(), name_.c_str(), 0, saved_->first, saved_->second.data(),
                         static_cast<DWORD>(saved_->second.size()));
}

void WriteRawValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size) {
    if (::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw std::runtime_error("cannot write value " + name);
}

void WriteValue(HKEY root, const std::string& subkey, const std::string& name, DWORD type, const std::string& data) {
    KeyHandle key;
    if (::RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + subkey);
    WriteRawValue(key.get(), name, type, data.c_str(), static_cast<DWORD>(data.size() + 1));
}

void DeleteValue(HKEY root, const std::string& subkey, const std::string& name) {
    KeyHandle key;
    if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), name.c_str());
}

void CreateKey(HKEY root, const std::string& subkey) {
    KeyHandle key;
    if (::RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + subkey);
}

bool KeyExists(HKEY root, const std::string& subkey) {
    KeyHandle key;
    return ::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::string& subkey, const std::string& name) {
    KeyHandle key;
    if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    return ::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace pelorin::testing
