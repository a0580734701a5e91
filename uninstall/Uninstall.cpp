// RunUninstall: read the log, confirm, replay in uninstall mode, remove the log and then the
// directories it kept from being empty, and report what is left.
#include "uninstall/Uninstall.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "setup/CmnFunc.h"
#include "setup/install/JournalRecovery.h"
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

// Replays the log's records (uninstall mode) or the journal's (rollback mode) and reports.
UninstallExit ReplayAndReport(TUndoChanges& changes, const std::string& title, const UninstallArgs& args,
                              IUninstallPrompt& prompt, const std::string& ownPath,
                              const std::optional<FoundJournal>& journal) {
    std::vector<UndoFailure> failures;
    std::vector<std::string> scheduled;
    UndoOptions options;
    options.FullUninstall = !journal;
    options.Prompt = &prompt;
    options.RunningFile = ownPath;
    options.Failures = &failures;
    options.Scheduled = &scheduled;
    try {
        if (journal)
            RecoverJournal(*journal, options);
        else
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

}  // namespace

UninstallExit RunUninstall(const UninstallArgs& args, IUninstallPrompt& prompt, const std::string& ownPath) {
    if (!args.Valid) {
        prompt.ShowProblem(
            "Ferrow Wizard removes a program from your computer. It is started with the path of the program's uninstall log and /U, for example:\r\n\r\nFERROW.EXE \"C:\\Program Files\\Application\\REMOVE.LOG\" /U");
        return uxNothingDone;
    }
    // An installation that never finished has no log, only its journal: the uninstall entry
    // then takes that installation back as its rollback would have.
    const std::optional<FoundJournal> journal =
        PathExists(args.LogPath) ? std::nullopt : FindJournalOfLog(GetWinDir(), args.LogPath);
    TUndoChanges changes;
    if (!journal) {
        try {
            changes = LoadUndoLog(args.LogPath);
        } catch (const EUndoLogError& e) {
            prompt.ShowProblem("The uninstall log cannot be used, so nothing was removed.\r\n\r\n" +
                               WithFullStop(e.what()));
            return uxNothingDone;
        }
    }
    const std::string named = journal ? journal->Journal.AppName : changes.Title;
    const std::string title = named.empty() ? std::string("the program") : named;
    if (!prompt.ConfirmUninstall(title)) return uxCancelled;
    const UninstallExit result = ReplayAndReport(changes, title, args, prompt, ownPath, journal);
    // A journal left by an installation killed after it wrote its log is of no use any more.
    if (!journal && result != uxNothingDone)
        if (const std::optional<FoundJournal> stale = FindJournalOfLog(GetWinDir(), args.LogPath))
            ::DeleteFileA(stale->Path.c_str());
    return result;
}

}  // namespace pelorin
