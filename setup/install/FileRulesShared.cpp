// IncrementSharedCount: reads the counter in whichever kind it is stored, writes count + 1 back
// in that kind; unreadable or odd values start again from 0 as a 32-bit number.
#include "setup/install/FileRulesShared.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/win/Handles.h"
#include "setup/install/InstallFormat.h"

namespace pelorin {

namespace {

struct Counter {
    long long count = 0;
    DWORD kind = REG_DWORD;
};

// Whole-text decimal conversion; false for anything that is not a number.
bool ParseDecimal(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end && *end == '\0' && value >= INT32_MIN && value <= INT32_MAX;
}

Counter ReadCounter(HKEY key, const std::string& name) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> data(size + 1, 0);
    DWORD read = size;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &read) != ERROR_SUCCESS)
        return {};
    switch (type) {
    case REG_SZ: {
        long long value = 0;
        const std::string text(reinterpret_cast<const char*>(data.data()));
        if (!ParseDecimal(text, value)) return {};
        return {value, REG_SZ};
    }
    case REG_BINARY: {
        if (read < 1 || read > 4) return {};
        std::uint32_t value = 0;
        for (DWORD i = 0; i < read; ++i) value |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        return {static_cast<std::int32_t>(value), REG_BINARY};
    }
    case REG_DWORD: {
        if (read != 4) return {};
        std::int32_t value = 0;
        std::memcpy(&value, data.data(), 4);
        return {value, REG_DWORD};
    }
    default:
        return {};
    }
}

void WriteCounter(HKEY key, const std::string& name, const Counter& counter) {
    const auto value = static_cast<std::int32_t>(counter.count);
    if (counter.kind == REG_SZ) {
        const std::string text = std::to_string(value);
        ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
        return;
    }
    ::RegSetValueExA(key, name.c_str(), 0, counter.kind, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
}

}  // namespace

void IncrementSharedCount(const std::string& path, bool existed) {
    KeyHandle key;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(),
                          &disposition) != ERROR_SUCCESS)
        throw Exception(FormatText("Error opening registry key: %s", SharedDllsKey));
    Counter counter = ReadCounter(key.get(), path);
    if (counter.count < 0) counter.count = 0;
    if (counter.count == 0 && existed) counter.count = 1;
    counter.count += 1;
    WriteCounter(key.get(), path, counter);
}

}  // namespace pelorin
