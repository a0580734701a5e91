// Restart of the computer: the shutdown privilege on NT, the reboot request, and the
// warning box when either step fails.
#include "setup/Restart.h"

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/MsgBox.h"

namespace pelorin {

namespace {

bool EnableShutdownPrivilege() {
    TokenHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
    ::SetLastError(ERROR_SUCCESS);
    ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
    // Success with ERROR_NOT_ALL_ASSIGNED still means the privilege is missing.
    return ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace

bool RestartComputer(const ExitWindowsCall& exitWindows) {
    if ((!IsNT() || EnableShutdownPrivilege()) && exitWindows(EWX_REBOOT, 0)) return true;
    AnswerBox("Setup Wizard was unable to restart the computer. Please do this manually.", "Error",
              MB_ICONEXCLAMATION | MB_OK);
    return false;
}

}  // namespace pelorin
