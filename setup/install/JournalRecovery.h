// Finding the recovery journal of an installation that never ended, and taking that
// installation back: by the next setup of the same application, or by the uninstaller.
#pragma once

#include <optional>
#include <string>

#include "setup/install/Undo.h"
#include "setup/install/UndoJournal.h"

namespace pelorin {

struct FoundJournal {
    std::string Path;
    UndoJournal Journal;
};

// The journal that an installation of appName left in winDir. Journals that cannot be read,
// and the journal of a setup that is running now (it holds the file open), are passed over,
// here and below.
std::optional<FoundJournal> FindJournalOfApp(const std::string& winDir, const std::string& appName);
// The journal in winDir whose installation was to write the undo log logPath.
std::optional<FoundJournal> FindJournalOfLog(const std::string& winDir, const std::string& logPath);

// Replays the journal in rollback mode (existing files stay, counters go back), then deletes it.
// True when every undo action succeeded. Raises as UndoAll does when DDE cannot start; the
// journal then stays for the next attempt.
bool RecoverJournal(const FoundJournal& found, const UndoOptions& options);

}  // namespace pelorin
