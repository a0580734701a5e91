// Finds the test libraries beside the running test program and reads the marks they leave
// under HKEY_CURRENT_USER.
#include "tests/win/testdlls/TestDlls.h"

#include "platform/win/Handles.h"

namespace pelorin::testing {

std::string TestDllPath(const char* name) {
    char self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, self, sizeof self);
    std::string dir(self, length);
    dir.erase(dir.find_last_of('\\') + 1);
    return dir + "testdlls\\" + name;
}

bool CopyTestDll(const char* name, const std::string& destination) {
    return ::CopyFileA(TestDllPath(name).c_str(), destination.c_str(), FALSE) != 0;
}

std::string ReadTestDllMark(const std::string& path) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, TestDllMarkKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::string();
    char mark[64] = {};
    DWORD size = sizeof mark - 1;
    DWORD type = 0;
    const LONG status =
        ::RegQueryValueExA(key.get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(mark), &size);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::string(mark) : std::string();
}

void ClearTestDllMark(const std::string& path) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, TestDllMarkKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key.get(), path.c_str());
}

}  // namespace pelorin::testing
