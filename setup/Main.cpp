// Program entry of the setup program: title, start-up, the windows and their message
// loop, and the optional restart once everything has closed.
#include <windows.h>

#include <exception>

#include "core/Exception.h"
#include "setup/Globals.h"
#include "setup/InterruptedInstall.h"
#include "setup/MainForm.h"
#include "setup/MsgBox.h"
#include "setup/Restart.h"
#include "setup/RunSequence.h"
#include "setup/Startup.h"
#include "setup/wizard/BrowseG.h"
#include "ui/Application.h"

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

// Steps 4 and 5: the background window, the group browse dialog and the About box, then the
// message loop until the background window has closed or the installation has ended the
// application. The exit code is 0 when the installation completed.
int RunWindows() {
    TMainForm main;
    Tfbrowse groupBrowser(main.Handle());
    TRunSequence sequence(main, &groupBrowser);
    main.Show();
    RunMessageLoop();
    return main.SetupStep > 2 ? kExitSuccess : kExitFailure;
}

int Run() {
    SetApplicationTitle("Setup Wizard");
    try {
        RunStartup();
        RecoverInterruptedInstall();
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
