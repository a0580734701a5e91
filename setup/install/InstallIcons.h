// The program-group step: shell links in the program-menu folder, or program-manager items
// through DDE where no such folder exists; each change is recorded for the undo.
#pragma once

#include <string>
#include <vector>

#include "setup/Struct.h"
#include "setup/install/InstallContext.h"

namespace pelorin {

// What the group step needs from the setup description.
struct TIconsStep {
    std::string Group;
    std::vector<IconEntry> Icons;  // the IconEntry list, not yet expanded
    bool CreateUninstall = false;  // adds the "Remove %s" item
    std::string AppName;
    bool Common = false;  // IsAdmin: prefer the all-users program folder
};

// Runs the group step. Errors fail the installation; nothing is offered for retry.
void CreateIcons(const TIconsStep& step, TInstallContext& context);

// A shell link at link with the given target and details; an empty text means not given.
void CreateShellLink(const std::string& link, const std::string& description, const std::string& target,
                     const std::string& arguments, const std::string& workDir, const std::string& iconFile, int index);

}  // namespace pelorin
