// The uninstaller's command line: the path of the undo log (usually in double quotes), the
// switch "/U" as the uninstall entry and the "Remove" program item pass them, and the switches
// of unattended runs: /S, /REMOVESHARED and /LOG="file".
#pragma once

#include <string>
#include <vector>

namespace pelorin {

struct UninstallArgs {
    std::string LogPath;
    bool Uninstall = false;     // "/U" was given
    bool Silent = false;        // "/S": no boxes; every question gets its unattended answer
    bool RemoveShared = false;  // "/REMOVESHARED": with /S, shared files no longer in use are removed
    std::string RunLogPath;     // "/LOG=": the plain-text log of the run; empty: none
    std::string Invalid;        // the first argument not understood, as written
    bool Valid = false;         // exactly one log path and "/U", every switch understood
};

// The arguments after the program name of a full command line. Switches start with "/" or "-"
// and are recognised in any case; /LOG takes its value after "=", quoted or not.
UninstallArgs ParseUninstallArgs(const std::string& commandLine);

}  // namespace pelorin
