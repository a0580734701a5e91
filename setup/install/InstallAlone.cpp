// RunInstallationAlone: the stage "installation" of the run sequence without the stages around
// it; the form asks the exit question itself where the background window would.
#include "setup/install/InstallAlone.h"

#include "setup/Globals.h"
#include "setup/install/InstallForm.h"

namespace pelorin {

int RunInstallationAlone() {
    SetupGlobals& globals = Globals();
    if (globals.AppDir.empty()) globals.AppDir = globals.ProgramFilesDir + globals.Setup.Header.DefaultDirName;
    if (globals.GroupName.empty()) globals.GroupName = globals.Setup.Header.DefaultGroupName;
    TInstallForm form(nullptr, {});
    form.Show();
    form.DoInstall();
    return form.Finished ? 0 : 1;
}

}  // namespace pelorin
