// RunUninstall: the uninstaller from its command line to its closing message. Nothing is
// changed unless the command line is understood, the log reads whole and the user confirms.
#pragma once

#include <string>

#include "uninstall/UninstallArgs.h"
#include "uninstall/UninstallPrompt.h"

namespace pelorin {

// Exit codes of FERROW.EXE, the ones deployment tools know.
enum UninstallExit {
    uxRemoved = 0,              // everything removed
    uxInvalidCommandLine = 87,  // an unknown switch, no log path or no /U, a run log that cannot be created
    uxCancelled = 1602,         // the user said no; nothing changed
    uxFailed = 1603,            // unusable log, a replay that could not start, or elements left and listed
    uxRestartNeeded = 3010,     // removed, but some file goes only at the next restart
};

// boxes: how the user is asked and told; with /S it is never used. With /LOG the run is written
// to that file. ownPath: the running program, which is never deleted directly; when the log
// removes it, its removal is scheduled for the next restart.
UninstallExit RunUninstall(const UninstallArgs& args, IUninstallPrompt& boxes, const std::string& ownPath);

}  // namespace pelorin
