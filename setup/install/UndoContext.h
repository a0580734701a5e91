// The state one replay shares between the undo actions of its records: the mode, the
// prompts, the running result and the list of what could not be undone.
#pragma once

#include <string>

#include "setup/install/Undo.h"

namespace pelorin {

class TUndoContext {
public:
    explicit TUndoContext(const UndoOptions& options);

    bool FullUninstall() const { return options_.FullUninstall; }
    IUndoPrompt& Prompt() const { return *prompt_; }
    const std::string& RunningFile() const { return options_.RunningFile; }
    // The running program's own name in its short form, looked up once.
    const std::string& RunningShortFileName() const { return runningShortName_; }
    bool Result() const { return result_; }

    // One undo action failed: the replay's answer becomes false and the item is listed.
    void Fail(std::uint8_t kind, const std::string& item, const std::string& reason);
    // A file whose deletion now waits for the next restart.
    void Scheduled(const std::string& file);
    // The running program's removal has been queued already (a journal may name it twice).
    bool RunningFileScheduled() const { return runningScheduled_; }

private:
    UndoOptions options_;
    TMessageBoxUndoPrompt boxes_;
    IUndoPrompt* prompt_;
    bool result_ = true;
    bool runningScheduled_ = false;
    std::string runningShortName_;
};

}  // namespace pelorin
