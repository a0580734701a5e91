// Queued deletions of an installed file: a file that an earlier removal left to be deleted at
// the next restart is taken off that list when it is installed again, so the restart keeps it.
#pragma once

#include <string>

namespace pelorin {

// True when a deletion of path is queued for the next restart (PendingFileRenameOperations, or a
// "NUL=" line in WININIT.INI's "[rename]" section).
bool IsDeletionQueued(const std::string& path);

// Takes every queued deletion of path off the list; true when there was one. Failures to
// rewrite the list are ignored: the file is installed either way.
bool CancelQueuedDeletion(const std::string& path);

}  // namespace pelorin
