// The setup description values the wizard tests show: a product with a name, a version name,
// a default folder under the program files folder and a default group.
#pragma once

#include "setup/Globals.h"

namespace pelorin {

inline void UseSampleSetup() {
    SetupGlobals& globals = Globals();
    globals.Setup = SetupData{};
    globals.Setup.Header.AppName = "Zel Writer";
    globals.Setup.Header.AppVerName = "Zel Writer 2.1";
    globals.Setup.Header.DefaultDirName = "Zel\\Writer";
    globals.Setup.Header.DefaultGroupName = "Zel Tools";
    globals.ProgramFilesDir = "C:\\Program Files\\";
    globals.Setup.TotalSize = 1000;
}

}  // namespace pelorin
