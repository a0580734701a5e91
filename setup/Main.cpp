// Program entry of the setup program: title, start-up, the windows and their message
// loop, and the optional restart once everything has closed.
#include <windows.h>

#include <exception>

#include "core/Exception.h"
#include "setup/Globals.h"
#include "setup/MsgBox.h"
#include "setup/Restart.h"
#include "setup/Startup.h"
#include "setup/install/InstallAlone.h"

namespace pelorin {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;

// Lets every message that is already waiting run once.
void ProcessPendingMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

// Steps 4 and 5: the background window, the group browse dialog and the About box,
// then the message loop until the background window has closed or the installation
// has ended the application. Until the background window and the wizard exist, the
// installation window runs on its own with the description's defaults.
int RunWindows() { return RunInstallationAlone() == 0 ? kExitSuccess : kExitFailure; }

int Run() {
    SetApplicationTitle("Setup Wizard");
    try {
        RunStartup();
    } catch (const EAbort&) {
        return kExitFailure;  // the fatal message has been shown
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return kExitFailure;
    }
    ProcessPendingMessages();
    const int result = RunWindows();
    if (Globals().RestartChosen) RestartComputer();
    return result;
}

}  // namespace
}  // namespace pelorin

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return pelorin::Run(); }
