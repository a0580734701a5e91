// System services that test the platform: the running version and family, and
// whether the user may administer the machine.
#include "setup/CmnFunc.h"

#include "platform/win/Handles.h"

namespace pelorin {

WindowsVersion GetWindowsVersion() {
    WindowsVersion version;
    const DWORD packed = ::GetVersion();
    version.Major = LOBYTE(LOWORD(packed));
    version.Minor = HIBYTE(LOWORD(packed));
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (::GetVersionExA(&info)) version.Platform = info.dwPlatformId;
    return version;
}

bool IsNT() { return GetWindowsVersion().Platform == VER_PLATFORM_WIN32_NT; }

bool IsWin32s() { return GetWindowsVersion().Platform == VER_PLATFORM_WIN32s; }

bool IsAdmin() {
    if (!IsNT()) return true;
    const ServiceHandle manager(::OpenSCManagerA(nullptr, nullptr, GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE));
    return manager.valid();
}

}  // namespace pelorin
