// The uninstaller's command line: the path of the undo log (usually in double quotes)
// and the switch "/U", as the uninstall entry and the "Remove" program item pass them.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

struct UninstallArgs {
    std::string LogPath;
    bool Uninstall = false;  // "/U" was given
    bool Valid = false;      // exactly one log path and "/U", nothing else
};

// The arguments after the program name of a full command line.
UninstallArgs ParseUninstallArgs(const std::string& commandLine);

}  // namespace pelorin
