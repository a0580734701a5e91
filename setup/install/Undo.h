// UndoAll: replays the recorded changes of an installation, newest first, and empties the list.
// Rollback (FullUninstall false) is used by the setup program, full uninstall by FERROW.EXE.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/install/UndoChanges.h"

namespace pelorin {

// The two questions of the replay. Tests answer them; programs show message boxes.
class IUndoPrompt {
public:
    virtual ~IUndoPrompt() = default;
    // An error raised while undoing one record; the text already ends with a full stop.
    virtual void ShowError(const std::string& message) = 0;
    // A shared file no program uses any more: true removes it.
    virtual bool ConfirmRemoveSharedFile(const std::string& path) = 0;
};

// Message boxes without an owner window, captioned "Ferrow Wizard" and "Shared file found".
class TMessageBoxUndoPrompt : public IUndoPrompt {
public:
    void ShowError(const std::string& message) override;
    bool ConfirmRemoveSharedFile(const std::string& path) override;
};

// One change that could not be undone: the record's kind, what it names, and why.
struct UndoFailure {
    std::uint8_t Kind = 0;
    std::string Item;
    std::string Reason;
};

struct UndoOptions {
    bool FullUninstall = false;
    IUndoPrompt* Prompt = nullptr;  // none: TMessageBoxUndoPrompt
    // A file that is running and so cannot be deleted now (the uninstaller's own program):
    // where the replay would delete it, its removal is scheduled for the next restart.
    std::string RunningFile;
    std::vector<UndoFailure>* Failures = nullptr;   // filled when given
    std::vector<std::string>* Scheduled = nullptr;  // files left for the next restart
};

// True when every undo action succeeded. Raises only when DDE cannot be initialised, before
// any record is touched; every other failure is counted and the replay goes on.
bool UndoAll(TUndoChanges& changes, bool FullUninstall);
bool UndoAll(TUndoChanges& changes, const UndoOptions& options);

}  // namespace pelorin
