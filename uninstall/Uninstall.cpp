// RunUninstall: read the log, confirm, replay in uninstall mode, remove the log and then the
// directories it kept from being empty, report what is left, and log every step when asked.
#include "uninstall/Uninstall.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "core/RunLog.h"
#include "setup/CmnFunc.h"
#include "setup/install/JournalRecovery.h"
#include "setup/install/UndoLog.h"
#include "uninstall/LoggedPrompt.h"
#include "uninstall/UninstallReport.h"
#include "uninstall/UninstallRunLog.h"

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

const char* OutcomeText(UninstallExit result) {
    switch (result) {
    case uxRemoved: return "removed";
    case uxRestartNeeded: return "removed; some files are removed at the next restart";
    case uxCancelled: return "cancelled by the user; nothing was changed";
    case uxInvalidCommandLine: return "invalid command line; nothing was changed";
    default: return "failed";
    }
}

class TUninstallRun {
public:
    TUninstallRun(const UninstallArgs& args, IUninstallPrompt& prompt, const std::string& ownPath, TRunLog& log)
        : args_(args), prompt_(prompt), ownPath_(ownPath), log_(log) {}

    UninstallExit Run();

private:
    UninstallExit ReplayAndReport(TUndoChanges& changes, const std::string& title,
                                  const std::optional<FoundJournal>& journal);
    void LogRecords(const TUndoChanges& changes);

    const UninstallArgs& args_;
    IUninstallPrompt& prompt_;
    const std::string& ownPath_;
    TRunLog& log_;
    bool started_ = false;  // the replay began touching records
};

void TUninstallRun::LogRecords(const TUndoChanges& changes) {
    const std::vector<UndoRecord>& records = changes.Records();
    std::string text = "The log holds " + std::to_string(records.size()) + " records, undone newest first:";
    for (auto record = records.rbegin(); record != records.rend(); ++record) text += "\n" + DescribeUndoRecord(*record);
    log_.Line(text);
}

// Replays the log's records (uninstall mode) or the journal's (rollback mode) and reports.
UninstallExit TUninstallRun::ReplayAndReport(TUndoChanges& changes, const std::string& title,
                                             const std::optional<FoundJournal>& journal) {
    std::vector<UndoFailure> failures;
    std::vector<std::string> scheduled;
    UndoOptions options;
    options.FullUninstall = !journal;
    options.Prompt = &prompt_;
    options.RunningFile = ownPath_;
    options.Failures = &failures;
    options.Scheduled = &scheduled;
    if (journal)
        log_.Line("The log does not exist; the journal of the unfinished installation is taken back: " + journal->Path);
    else
        LogRecords(changes);
    try {
        if (journal)
            RecoverJournal(*journal, options);
        else
            UndoAll(changes, options);
    } catch (const std::exception& e) {
        // Raised only before the first record is touched.
        prompt_.ShowProblem("The uninstallation cannot start, so nothing was removed.\r\n\r\n" +
                            WithFullStop(e.what()));
        return uxFailed;
    }
    started_ = true;
    if (!::DeleteFileA(args_.LogPath.c_str()) && PathExists(args_.LogPath))
        failures.push_back({ukFile, args_.LogPath, "error " + std::to_string(::GetLastError())});
    RetryDirectories(failures);

    for (const UndoFailure& failure : failures)
        log_.Line("Not removed: " + failure.Item + " (" + WithSystemText(failure.Reason) + ")");
    for (const std::string& file : scheduled) log_.Line("Removed at the next restart: " + file);
    log_.Line("Summary: " + std::to_string(failures.size()) + " elements left, " + std::to_string(scheduled.size()) +
              " files waiting for the next restart.");

    const std::string report = UninstallReport(title, failures, scheduled);
    if (!failures.empty()) {
        prompt_.ShowProblem(report);
        return uxFailed;
    }
    prompt_.ShowInformation(report);
    return scheduled.empty() ? uxRemoved : uxRestartNeeded;
}

UninstallExit TUninstallRun::Run() {
    // An installation that never finished has no log, only its journal: the uninstall entry
    // then takes that installation back as its rollback would have.
    const std::optional<FoundJournal> journal =
        PathExists(args_.LogPath) ? std::nullopt : FindJournalOfLog(GetWinDir(), args_.LogPath);
    TUndoChanges changes;
    if (!journal) {
        try {
            changes = LoadUndoLog(args_.LogPath);
        } catch (const EUndoLogError& e) {
            prompt_.ShowProblem("The uninstall log cannot be used, so nothing was removed.\r\n\r\n" +
                                WithFullStop(e.what()));
            return uxFailed;
        }
    }
    const std::string named = journal ? journal->Journal.AppName : changes.Title;
    const std::string title = named.empty() ? std::string("the program") : named;
    if (!prompt_.ConfirmUninstall(title)) return uxCancelled;
    const UninstallExit result = ReplayAndReport(changes, title, journal);
    // A journal left by an installation killed after it wrote its log is of no use any more.
    if (!journal && started_)
        if (const std::optional<FoundJournal> stale = FindJournalOfLog(GetWinDir(), args_.LogPath))
            ::DeleteFileA(stale->Path.c_str());
    return result;
}

constexpr char kUsage[] =
    "Ferrow Wizard removes a program from your computer. It is started with the path of the program's uninstall log and /U, for example:\r\n\r\nFERROW.EXE \"C:\\Program Files\\Application\\REMOVE.LOG\" /U\r\n\r\nWith /S it asks nothing and keeps shared files that no program uses any more; /REMOVESHARED removes those too. /LOG=\"file\" writes a log of the run.";

}  // namespace

UninstallExit RunUninstall(const UninstallArgs& args, IUninstallPrompt& boxes, const std::string& ownPath) {
    TRunLog log;
    const bool logged = args.RunLogPath.empty() || log.Open(args.RunLogPath);
    TLoggedUninstallPrompt prompt(args.Silent ? nullptr : &boxes, args.RemoveShared, log);
    log.Line("Ferrow Wizard: " + ownPath);
    log.Line("Uninstall log: " + args.LogPath);
    log.Line(std::string("Mode: ") + (!args.Silent        ? "interactive"
                                      : args.RemoveShared ? "unattended (/S), shared files no longer in use are removed"
                                                          : "unattended (/S), shared files no longer in use are kept"));
    UninstallExit result = uxInvalidCommandLine;
    if (!logged) {
        prompt.ShowProblem("The log file cannot be created, so nothing was removed:\r\n\r\n" + args.RunLogPath);
    } else if (!args.Valid) {
        prompt.ShowProblem(
            (args.Invalid.empty() ? "" : "This argument is not understood: " + args.Invalid + "\r\n\r\n") + kUsage);
    } else {
        result = TUninstallRun(args, prompt, ownPath, log).Run();
    }
    log.Line(std::string("Outcome: ") + OutcomeText(result));
    log.Line("Exit code: " + std::to_string(result));
    return result;
}

}  // namespace pelorin
