// FERROW.EXE: removes an installed application by replaying its REMOVE.LOG in uninstall
// mode. Started as FERROW.EXE "<log path>" /U [/S [/REMOVESHARED]] [/LOG="file"]; the exit code tells how it went.
#include <windows.h>

#include "uninstall/Uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, self, sizeof self);
    pelorin::TMessageBoxUninstallPrompt prompt;
    return pelorin::RunUninstall(pelorin::ParseUninstallArgs(::GetCommandLineA()), prompt, std::string(self, length));
}
