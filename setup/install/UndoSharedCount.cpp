// DecrementSharedCount: the counter keeps the kind it was found with (text, 1-4 byte binary or
// number); a counter that exists but cannot be read counts as two users, so it is never freed.
#include "setup/install/UndoSharedCount.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/Exception.h"
#include "core/LittleEndian.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc2.h"
#include "setup/install/FileRulesShared.h"

namespace pelorin {
namespace {

struct SharedCounter {
    long long Count = 2;
    DWORD Kind = REG_DWORD;
};

bool ParseCount(const std::string& text, long long& count) {
    if (text.empty()) return false;
    char* end = nullptr;
    count = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0' && count >= INT32_MIN && count <= INT32_MAX;
}

// The counter as stored; the default (two users, number) when it cannot be understood.
SharedCounter ReadExistingCounter(HKEY key, const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
    std::vector<BYTE> data(size + 1, 0);
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return {};
    long long count = 0;
    if (type == REG_SZ) {
        if (!ParseCount(reinterpret_cast<const char*>(data.data()), count)) return {};
        return {count, REG_SZ};
    }
    if (type == REG_BINARY && size >= 1 && size <= 4) {
        std::uint32_t bits = 0;
        for (DWORD i = 0; i < size; ++i) bits |= static_cast<std::uint32_t>(data[i]) << (8 * i);
        return {static_cast<std::int32_t>(bits), REG_BINARY};
    }
    if (type == REG_DWORD && size == 4) {
        const std::uint32_t bits = GetLE32(data.data());
        return {static_cast<std::int32_t>(bits), REG_DWORD};
    }
    return {};
}

}  // namespace

std::optional<long long> CurrentSharedCount(const std::string& path) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    if (::RegQueryValueExA(key.get(), path.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return ReadExistingCounter(key.get(), path).Count;
}

bool DecrementSharedCount(const std::string& path) {
    KeyHandle key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        throw Exception(StringReplaceAll("Error opening registry key: %s", "%s", SharedDllsKey));
    if (::RegQueryValueExA(key.get(), path.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;

    SharedCounter counter = ReadExistingCounter(key.get(), path);
    counter.Count -= 1;
    if (counter.Count <= 0) {
        ::RegDeleteValueA(key.get(), path.c_str());
        return true;
    }
    const auto count = static_cast<std::int32_t>(counter.Count);
    if (counter.Kind == REG_SZ) {
        const std::string text = std::to_string(count);
        ::RegSetValueExA(key.get(), path.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
    } else {
        ::RegSetValueExA(key.get(), path.c_str(), 0, counter.Kind, reinterpret_cast<const BYTE*>(&count), sizeof count);
    }
    return false;
}

}  // namespace pelorin
