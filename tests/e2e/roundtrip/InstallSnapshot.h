// The machine as an installation sees it, for before-and-after comparisons: the registry roots
// and drive C: in one snapshot, what Wine itself changes meanwhile, and the restart Wine never makes.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/roundtrip/MachineSnapshot.h"

namespace pelorin::e2e {

// HKLM\Software, HKCU\Software, the session manager's key and drive C: without skipFolders.
Snapshot TakeSnapshot(const std::vector<std::string>& skipFolders);

// Wine's own churn between two looks, kept as narrow as it was seen to be: the menu
// builder's record of the desktop entries it made for our links (it keeps the record
// after the links are gone) and the desktop's mouse settings.
extern const std::vector<std::string> kWineChurn;

// What an earlier run in this prefix may have left: the uninstaller whose removal waits
// for a restart that never comes under Wine, and its counter.
void ForgetEarlierUninstaller();

// Before a snapshot that an installation and its removal must give back exactly: the two above,
// and the counters' key, which exists on every real machine (made later, it would be a difference).
void PrepareForSnapshot();

// Does what the next restart would: the deletions queued in PendingFileRenameOperations
// (a name followed by an empty target) are carried out and the value is removed. The files
// deleted, in order.
std::vector<std::string> RestartDeletions();

}  // namespace pelorin::e2e
