// KReg against the Win32 registry: every call opens its own key and closes it on every way
// out. Reading swallows every failure; writing turns every failure into EIRCannotWriteValue.
#include "update/KReg.h"

#include <windows.h>

#include <vector>

#include "platform/win/Handles.h"

namespace pelorin::kreg {

namespace {

HKEY RootKey(int code) {
    switch (code & 0x7F) {
    case kClassesRoot: return HKEY_CLASSES_ROOT;
    case kCurrentConfig: return HKEY_CURRENT_CONFIG;
    case kCurrentUser: return HKEY_CURRENT_USER;
    case kDynData: return HKEY_DYN_DATA;
    case kLocalMachine: return HKEY_LOCAL_MACHINE;
    case kUsers: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;
    }
}

// A key path given with a leading backslash still counts from the root.
std::string RelativeKey(const std::string& key) { return !key.empty() && key.front() == '\\' ? key.substr(1) : key; }

[[noreturn]] void CannotWrite(const std::string& key, const std::string& name, const std::string& value) {
    throw EIRCannotWriteValue("Cannot install into registry. Key: " + key + " Ident: " + name + " Value " + value);
}

// Stored strings may or may not carry their terminating zero.
std::string TextOf(const std::vector<char>& data, DWORD size) {
    std::size_t length = 0;
    while (length < size && data[length] != '\0') ++length;
    return std::string(data.data(), length);
}

}  // namespace

void WriteString(int root, const std::string& key, const std::string& name, const std::string& value) {
    KeyHandle opened;
    if (::RegCreateKeyExA(RootKey(root), RelativeKey(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, opened.put(), nullptr) != ERROR_SUCCESS) {
        CannotWrite(key, name, value);
    }
    const auto* data = reinterpret_cast<const BYTE*>(value.c_str());
    if (::RegSetValueExA(opened.get(), name.c_str(), 0, REG_SZ, data, static_cast<DWORD>(value.size() + 1)) !=
        ERROR_SUCCESS) {
        CannotWrite(key, name, value);
    }
}

std::string ReadString(int root, const std::string& key, const std::string& name, const std::string& defaultText) {
    KeyHandle opened;
    if (::RegOpenKeyExA(RootKey(root), RelativeKey(key).c_str(), 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS) {
        return defaultText;
    }
    // The value may grow between asking its size and reading it: ask again until it fits.
    DWORD type = 0, size = 0;
    std::vector<char> data;
    for (int attempt = 0; attempt < 4; ++attempt) {
        LONG rc = ::RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type, nullptr, &size);
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return defaultText;
        data.assign(size + 1, '\0');
        rc =
            ::RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_MORE_DATA) continue;
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return defaultText;
        return TextOf(data, size);
    }
    return defaultText;
}

}  // namespace pelorin::kreg
