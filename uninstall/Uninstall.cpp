// RunUninstall: read the log, confirm, replay in uninstall mode, remove the log and then the
// directories it kept from being empty, and report what is left.
#include "uninstall/Uninstall.h"

#include <windows.h>

#include <algorithm>

#include "setup/CmnFunc.h"
#include "setup/install/UndoLog.h"
#include "uninstall/UninstallReport.h"

namespace pelorin {
namespace {

std::string WithFullStop(const std::string& message) {
    return !message.empty() && message.back() == '.' ? message : message + ".";
}

// The log sits in the application's folder, whose record was undone while the log was
// still there; folders that failed are tried again now that it is gone.
void RetryDirectories(std::vector<UndoFailure>& failures) {
    const auto removed = [](const UndoFailure& failure) {
        if (failure.Kind != ukDirectory) return false;
        ::SetCurrentDirectoryA(failure.Item.substr(0, 3).c_str());
        return !PathExists(failure.Item) || ::RemoveDirectoryA(failure.Item.c_str());
    };
    failures.erase(std::remove_if(failures.begin(), failures.end(), removed), failures.end());
}

}  // namespace

UninstallExit RunUninstall(const UninstallArgs& args, IUninstallPrompt& prompt, const std::string& ownPath) {
    if (!args.Valid) {
        prompt.ShowProblem(
            "Ferrow Wizard removes a program from your computer. It is started with the path of the program's uninstall log and /U, for example:\r\n\r\nFERROW.EXE \"C:\\Program Files\\Application\\REMOVE.LOG\" /U");
        return uxNothingDone;
    }
    TUndoChanges changes;
    try {
        changes = LoadUndoLog(args.LogPath);
    } catch (const EUndoLogError& e) {
        prompt.ShowProblem("The uninstall log cannot be used, so nothing was removed.\r\n\r\n" +
                           WithFullStop(e.what()));
        return uxNothingDone;
    }
    const std::string title = changes.Title.empty() ? std::string("the program") : changes.Title;
    if (!prompt.ConfirmUninstall(title)) return uxCancelled;

    std::vector<UndoFailure> failures;
    std::vector<std::string> scheduled;
    UndoOptions options;
    options.FullUninstall = true;
    options.Prompt = &prompt;
    options.RunningFile = ownPath;
    options.Failures = &failures;
    options.Scheduled = &scheduled;
    try {
        UndoAll(changes, options);
    } catch (const std::exception& e) {
        // Raised only before the first record is touched.
        prompt.ShowProblem("The uninstallation cannot start, so nothing was removed.\r\n\r\n" + WithFullStop(e.what()));
        return uxNothingDone;
    }
    if (!::DeleteFileA(args.LogPath.c_str()) && PathExists(args.LogPath))
        failures.push_back({ukFile, args.LogPath, "error " + std::to_string(::GetLastError())});
    RetryDirectories(failures);

    const std::string report = UninstallReport(title, failures, scheduled);
    if (failures.empty()) {
        prompt.ShowInformation(report);
        return uxRemoved;
    }
    prompt.ShowProblem(report);
    return uxLeftovers;
}

}  // namespace pelorin
