// DoInstall's fixed order of steps, the cancel points between them, and the failure path:
// error boxes, then the rollback of every recorded change.
#pragma once

#include <cstdint>
#include <string>

#include "setup/Struct.h"
#include "setup/install/InstallContext.h"
#include "setup/install/Undo.h"

namespace pelorin {

// The range of the progress bar: the compressed sizes of all files, 1000 per program item,
// and 1000 each for the INI and the registry step when they run.
std::int64_t ProgressMaximum(const SetupData& setup);

// The undo log's path for the application folder: "<app>\REMOVE.LOG".
std::string UndoLogPath(const std::string& appDir);

class TInstallEngine {
public:
    // setup is read during Run; the folder values and GroupName come from Globals().
    TInstallEngine(const SetupData& setup, TInstallContext& context);

    // Where the rollback reports; none: its own message boxes.
    void SetUndoPrompt(IUndoPrompt* prompt) { undoPrompt_ = prompt; }

    // Runs steps 1 to 8 and clears the records. False after a failure or a confirmed cancel,
    // which has then been reported (unless silent) and rolled back.
    bool Run();

private:
    // Starts the recovery journal in the Windows folder before the first change.
    void OpenJournal();
    void Steps();
    void RollBack();

    const SetupData& setup_;
    TInstallContext& context_;
    IUndoPrompt* undoPrompt_ = nullptr;
    TJournalFile journal_;
};

}  // namespace pelorin
