// Start-up of the setup program: the platform test, the extraction and loading of
// the setup description, the Windows version check and the program-wide folder values.
#pragma once

#include <string>

#include "setup/CmnFunc.h"
#include "setup/Struct.h"

namespace pelorin {

// Runs every start-up step and fills Globals(). A fatal condition is shown with
// MsgBox (kind Error) and ends in EAbort; other errors pass through.
void RunStartup();

// Shows message in an error box (caption "Error") and raises the silent abort.
[[noreturn]] void Fatal(const std::string& message);

// The refusal message for running the setup on this version, empty when accepted.
std::string VersionRefusal(const WindowsVersion& running, const SetupHeader& header);

// Fatal when VersionRefusal has a message for the running version.
void CheckWindowsVersion(const SetupHeader& header);

// {src} from the program's path: its folder without the trailing backslash, except
// that a drive root keeps it.
std::string SourceDirOf(const std::string& programPath);

// {sys}: the system folder, or the Windows folder when the system folder lies
// outside it and a file cannot be created in it.
std::string ChooseSystemDir(const std::string& winDir, const std::string& sysDir);

// Copies RCDATA 102 of the library at dllPath into the file target. Raises
// Exception with the reason when the library, the resource or the file fails.
void ExtractSetupDescription(const std::string& dllPath, const std::string& target);

}  // namespace pelorin
