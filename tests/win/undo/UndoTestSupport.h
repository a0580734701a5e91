// Helpers of the replay tests: a prompt that answers from a script and remembers what it
// was asked, and the replay itself; folders, files and registry come from tests/support.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/install/Undo.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tests/support/win/SharedCounters.h"
#include "tests/support/win/TestRegistry.h"

namespace pelorin::testing {

class ScriptedPrompt : public IUndoPrompt {
public:
    bool RemoveShared = true;
    std::vector<std::string> Errors;
    std::vector<std::string> SharedQuestions;

    void ShowError(const std::string& message) override { Errors.push_back(message); }
    bool ConfirmRemoveSharedFile(const std::string& path) override {
        SharedQuestions.push_back(path);
        return RemoveShared;
    }
};

// Runs the replay with the prompt and collects what could not be undone.
struct ReplayResult {
    bool Ok = false;
    std::vector<UndoFailure> Failures;
};
ReplayResult Replay(TUndoChanges& changes, bool fullUninstall, IUndoPrompt& prompt,
                    const std::string& runningFile = std::string());

// Test keys live below HKEY_CURRENT_USER "Software\Pelorin Tests\Undo".
extern const char TestKeyRoot[];

}  // namespace pelorin::testing
