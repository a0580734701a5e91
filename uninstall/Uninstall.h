// RunUninstall: the uninstaller from its command line to its closing message. Nothing is
// changed unless the log reads whole and the user confirms.
#pragma once

#include <string>

#include "uninstall/UninstallArgs.h"
#include "uninstall/UninstallPrompt.h"

namespace pelorin {

// Exit codes of FERROW.EXE.
enum UninstallExit {
    uxRemoved = 0,      // everything removed (some files perhaps at the next restart)
    uxLeftovers = 1,    // removed, but elements were left and listed
    uxNothingDone = 2,  // bad command line, unusable log, or the replay could not start
    uxCancelled = 3,    // the user said no
};

// ownPath: the running program, which is never deleted directly; when the log removes it,
// its removal is scheduled for the next restart.
UninstallExit RunUninstall(const UninstallArgs& args, IUninstallPrompt& prompt, const std::string& ownPath);

}  // namespace pelorin
