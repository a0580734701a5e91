// What every installation step works with: the window's progress and prompt interfaces,
// the undo records, the undo-log path and the folder of the files archive.
#pragma once

#include <string>

#include "core/Exception.h"
#include "setup/install/InstallPrompt.h"
#include "setup/install/UndoChanges.h"

namespace pelorin {

struct TInstallContext {
    IInstallProgress& Progress;
    IInstallPrompt& Prompt;
    TUndoChanges& Changes;
    std::string LogPath;    // AddBackslash({app}) + "REMOVE.LOG" with CreateUninstall, else empty
    std::string SourceDir;  // folder that holds PELORIN.DAT

    // Lets pending messages run, then raises the silent abort when cancelling was confirmed.
    void CheckCancel() {
        if (Progress.ProcessMessagesAndCheckCancel()) throw EAbort();
    }
};

// What a program item or the INI and registry steps add to the progress bar.
constexpr std::int64_t StepProgress = 1000;

}  // namespace pelorin
