// Runs the installation window on its own, with the description's default folder and group,
// until the background window and the wizard take over that part of the run sequence.
#pragma once

namespace pelorin {

// Installs into ProgramFilesDir + DefaultDirName with DefaultGroupName (unless {app} and the
// group are set already). 0 when the installation completed, 1 when it failed or was cancelled.
int RunInstallationAlone();

}  // namespace pelorin
