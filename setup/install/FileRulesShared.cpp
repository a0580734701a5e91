// IncrementSharedCount: reads the counter in whichever kind it is stored, writes count + 1 back
// in that kind; unreadable or odd values start again from 0 as a 32-bit number.
#include "setup/install/FileRulesShared.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/TextFormat.h"
#include "platform/win/Handles.h"

namespace pelorin {

namespace {

// Whole-text decimal conversion; false for anything that is not a 32-bit number.
bool ParseDecimal(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end && *end == '\0' && value >= INT32_MIN && value <= INT32_MAX;
}

}  // namespace

bool ReadSharedCounter(HKEY key, const std::string& name, TSharedCounter& counter) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    std::vector<BYTE> data(size + 1, 0);
    DWORD read = size;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &read) != ERROR_SUCCESS) return false;
    long long value = 0;
    if (type == REG_SZ) {
        if (!ParseDecimal(reinterpret_cast<const char*>(data.data()), value)) return false;
    } else if (type == REG_BINARY && read >= 1 && read <= 4) {
        std::uint32_t bits = 0;
        for (DWORD i = 0; i < read; ++i) bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        value = static_cast<std::int32_t>(bits);
    } else if (type == REG_DWORD && read == 4) {
        std::int32_t number = 0;
        std::memcpy(&number, data.data(), 4);
        value = number;
    } else {
        return false;
    }
    counter = {value, type};
    return true;
}

void WriteSharedCounter(HKEY key, const std::string& name, const TSharedCounter& counter) {
    const auto value = static_cast<std::int32_t>(counter.Count);
    if (counter.Kind == REG_SZ) {
        const std::string text = std::to_string(value);
        ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
        return;
    }
    ::RegSetValueExA(key, name.c_str(), 0, counter.Kind, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void IncrementSharedCount(const std::string& path, bool existed) {
    KeyHandle key;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(), &disposition) != ERROR_SUCCESS)
        throw Exception(FormatText("Error opening registry key: %s", SharedDllsKey));
    TSharedCounter counter;
    if (!ReadSharedCounter(key.get(), path, counter)) counter = TSharedCounter{};
    if (counter.Count < 0) counter.Count = 0;
    if (counter.Count == 0 && existed) counter.Count = 1;
    counter.Count += 1;
    WriteSharedCounter(key.get(), path, counter);
}

}  // namespace pelorin
