// RecoverInterruptedInstall: the box first, then the replay with the rollback's own error
// boxes; the wizard starts afterwards as it always does.
#include "setup/InterruptedInstall.h"

#include <exception>

#include "core/TextFormat.h"
#include "setup/Globals.h"
#include "setup/MsgBox.h"
#include "setup/install/JournalRecovery.h"

namespace pelorin {

void RecoverInterruptedInstall() {
    const SetupGlobals& globals = Globals();
    const std::string& appName = globals.Setup.Header.AppName;
    const std::optional<FoundJournal> found = FindJournalOfApp(globals.WinDir, appName);
    if (!found) return;
    MsgBox(FormatText("The last installation of %s did not finish. Setup Wizard will now undo the changes it made, "
                      "and then go on.",
                      appName),
           "", mbInformation, MB_OK);
    try {
        RecoverJournal(*found, UndoOptions{});
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
}

}  // namespace pelorin
