// Helpers of the replay tests: the replay with its failures collected, and the test keys.
// Test keys are kept below one key of the current user and removed by each test.
#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {

const char TestKeyRoot[] = "Software\\Pelorin Tests\\Undo";

ReplayResult Replay(TUndoChanges& changes, bool fullUninstall, IUndoPrompt& prompt, const std::string& runningFile) {
    ReplayResult result;
    UndoOptions options;
    options.FullUninstall = fullUninstall;
    options.Prompt = &prompt;
    options.RunningFile = runningFile;
    options.Failures = &result.Failures;
    result.Ok = UndoAll(changes, options);
    return result;
}

}  // namespace pelorin::testing
