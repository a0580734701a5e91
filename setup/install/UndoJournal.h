// The recovery journal: the undo records of an installation, each written to disk before the
// change it takes back is made, so that a killed installation can still be rolled back.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/ByteSource.h"
#include "setup/install/UndoChanges.h"

namespace pelorin {

// A journal has the undo log's layout with its own signature; the header's record count
// stays 0, since records are appended until the installation ends.
constexpr char UndoJournalMagic[] = "zfw102bj";

// Journal-only record kinds; the replay of an undo log skips kinds above ukLastKind.
// ujInfo, written first: the application name and the undo log's path ("" without one).
constexpr std::uint8_t ujInfo = 0x7F;
// ujSharedCount: a "SharedDLLs" counter about to be raised. Strings: file, alternative file,
// the counter before ("" when there was none); value: the ukFile record that follows the raise.
constexpr std::uint8_t ujSharedCount = 0x40;

struct UndoJournal {
    std::string AppName;
    std::string LogPath;
    TUndoChanges Changes;  // every record after ujInfo, in the order written
};

// The journal's file name in the Windows folder: "PELORIN-" and 8 hex digits of a hash of the
// application name (ASCII letters folded), ".JNL". A later setup of the same application finds it.
std::string JournalFileName(const std::string& appName);
// True for a name that JournalFileName could have made.
bool IsJournalFileName(const std::string& name);

// The header and the ujInfo record that open a journal.
std::string EncodeJournalStart(const std::string& appName, const std::string& logPath, std::uint8_t commonGroup);
// One record as appended.
std::string EncodeJournalRecord(std::uint8_t kind, const std::vector<std::string>& strings, std::uint32_t value);

// Reads a journal. A last record cut short was being appended when the process ended: its
// change had not begun, so it is dropped; a start cut short gives a journal with no records
// and no name. Anything else malformed raises EUndoLogError.
UndoJournal DecodeUndoJournal(ByteSource& in);
UndoJournal DecodeUndoJournal(const std::string& bytes);

// The counter of a shared file as it is now; nullopt when there is none.
using SharedCountQuery = std::function<std::optional<long long>(const std::string& path)>;

// The records that take the journalled installation back, for the rollback replay. A counter
// raise counts only when the counter no longer reads as it did before the raise, so a raise
// that never happened, or that an earlier recovery already took back, is not taken back again.
TUndoChanges PlanJournalRollback(const UndoJournal& journal, const SharedCountQuery& currentCount);

}  // namespace pelorin
