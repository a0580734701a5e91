// The registry mark the test libraries leave: under HKEY_CURRENT_USER TestDllMarkKey, a string
// value named by the library's own full path, holding what was last called.
#pragma once

#include <windows.h>

#include "platform/win/Handles.h"

namespace pelorin::testing {

inline constexpr char TestDllMarkKey[] = "Software\\Pelorin Tests\\Self-registration";

// Written by the libraries themselves: "registered", "unregistered", "register failed"...
inline void WriteTestDllMark(HMODULE self, const char* mark) {
    char path[MAX_PATH] = {};
    if (::GetModuleFileNameA(self, path, sizeof path) == 0) return;
    KeyHandle key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, TestDllMarkKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key.get(), path, 0, REG_SZ, reinterpret_cast<const BYTE*>(mark),
                     static_cast<DWORD>(::lstrlenA(mark) + 1));
}

// The module that holds the calling code.
inline HMODULE ThisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

}  // namespace pelorin::testing
