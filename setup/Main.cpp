// Program entry of the setup program: switches and log, title, start-up, the windows and their
// message loop, the optional restart once everything has closed, and the exit code.
#include <windows.h>

#include <exception>

#include "core/Exception.h"
#include "setup/CmnFunc.h"
#include "setup/Globals.h"
#include "setup/InterruptedInstall.h"
#include "setup/MainForm.h"
#include "setup/MsgBox.h"
#include "setup/ProgramVersion.h"
#include "setup/Restart.h"
#include "setup/RunSequence.h"
#include "setup/Startup.h"
#include "setup/wizard/BrowseG.h"
#include "setup/wizard/UnattendedChoices.h"
#include "ui/Application.h"

namespace pelorin {
namespace {

// Steps 4 and 5: the background window (hidden with /VERYSILENT), the group browse dialog and
// the About box, then the message loop until the background window has closed or the
// installation has ended the application. The sequence passed stage 2 when it installed.
bool RunWindows() {
    TMainForm main;
    Tfbrowse groupBrowser(main.Handle());
    TRunSequence sequence(main, &groupBrowser);
    if (Globals().Options.Mode == RunMode::VerySilent)
        main.StartSequence();
    else
        main.Show();
    RunMessageLoop();
    return main.SetupStep > SetupStage::Installation;
}

std::string WindowsVersionText() {
    const WindowsVersion version = GetWindowsVersion();
    return std::to_string(version.Major) + "." + std::to_string(version.Minor) +
           (version.Platform == VER_PLATFORM_WIN32_NT ? " (NT)" : "");
}

// The log's first lines: the program and how it was started.
void LogStart() {
    const SetupOptions& options = Globals().Options;
    static const char* const kModes[] = {"interactive", "silent", "very silent"};
    SetupLog().Line("Setup Wizard " + std::string(kProgramVersion) + ": " + GetOwnPath());
    SetupLog().Line(std::string("command line: ") + ::GetCommandLineA());
    SetupLog().Line(std::string("mode: ") + kModes[static_cast<int>(options.Mode)] +
                    (options.NoRestart ? ", no restart" : ""));
    SetupLog().Line("Windows version " + WindowsVersionText());
}

int Finish(int code) {
    SetupLog().Line("exit code " + std::to_string(code) + ": " + ExitCodeMeaning(code));
    return code;
}

// A command line that cannot be followed: the reason and the switch list in a box, or with
// the silent modes only in the log.
int RefuseCommandLine(const std::string& reason) {
    const std::string text = reason + "\r\n\r\n" + SetupSwitchesHelp();
    if (Globals().Options.Unattended())
        SetupLog().Line(text);
    else
        ::MessageBoxA(nullptr, text.c_str(), ApplicationTitle().c_str(), MB_ICONSTOP | MB_OK);
    return Finish(kExitInvalidArguments);
}

int Run() {
    SetApplicationTitle("Setup Wizard");
    SetupGlobals& globals = Globals();
    globals.Options = ParseSetupCommandLine(::GetCommandLineA());
    const SetupOptions& options = globals.Options;
    if (!options.LogPath.empty() && !SetupLog().Open(options.LogPath))
        return RefuseCommandLine("The log file " + options.LogPath + " cannot be created.");
    LogStart();
    if (!options.Invalid.empty()) return RefuseCommandLine("Unknown switch: " + options.Invalid);
    if (options.Help) {
        ::MessageBoxA(nullptr, SetupSwitchesHelp(), ApplicationTitle().c_str(), MB_ICONINFORMATION | MB_OK);
        return Finish(kExitSuccess);
    }
    try {
        RunStartup();
        SetupLog().Line("package: " + globals.Setup.Header.AppVerName);
        RecoverInterruptedInstall();
    } catch (const EAbort&) {
        return Finish(globals.ExitCode);  // the fatal message has been shown
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return Finish(kExitFailed);
    }
    if (options.Unattended() && !ChooseUnattendedFolders()) return Finish(kExitInvalidArguments);
    ProcessMessages();                  // every message already waiting runs once
    globals.ExitCode = kExitCancelled;  // until the installation ends otherwise
    if (!RunWindows()) return Finish(globals.ExitCode);
    SetupLog().Line("installation completed");
    if (!globals.Setup.RestartRequired) return Finish(kExitSuccess);
    if (globals.RestartChosen) {
        SetupLog().Line("restarting the computer");
        if (RestartComputer()) return Finish(kExitSuccess);
    }
    return Finish(kExitRestartRequired);
}

}  // namespace
}  // namespace pelorin

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return pelorin::Run(); }
