// What every installation step works with: the window's progress and prompt interfaces,
// the undo records, the undo-log path and the folder of the files archive.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "setup/install/InstallPrompt.h"
#include "setup/install/JournalFile.h"
#include "setup/install/UndoChanges.h"

namespace pelorin {

struct TInstallContext {
    IInstallProgress& Progress;
    IInstallPrompt& Prompt;
    TUndoChanges& Changes;
    std::string LogPath;              // AddBackslash({app}) + "REMOVE.LOG" with CreateUninstall, else empty
    std::string SourceDir;            // folder that holds PELORIN.DAT
    TJournalFile* Journal = nullptr;  // the recovery journal, when the installation keeps one

    // Puts the record of a change about to be made on disk. Every undo action is harmless for
    // a change that was not made after all, so a kill between the two leaves nothing behind.
    // The record joins Changes (and so REMOVE.LOG) only once the change is made.
    void Ahead(std::uint8_t kind, const std::vector<std::string>& strings, std::uint32_t value) {
        if (Journal) Journal->Append(kind, strings, value);
    }

    // Lets pending messages run, then raises the silent abort when cancelling was confirmed.
    void CheckCancel() {
        if (Progress.ProcessMessagesAndCheckCancel()) throw EAbort();
    }
};

// What a program item or the INI and registry steps add to the progress bar.
constexpr std::int64_t StepProgress = 1000;

}  // namespace pelorin
