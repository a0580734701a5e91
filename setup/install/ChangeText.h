// An installation's changes in words, for the run log: the facts of each undo record ("file
// C:\App\a.dll installed, replacing an existing file"), the same facts the undo log keeps.
#pragma once

#include <string>

#include "setup/install/UndoRecord.h"

namespace pelorin {

// The record's change as one sentence without a final full stop; empty for kinds that are not
// changes of their own (shell notifications, kinds of a later version).
std::string DescribeChange(const UndoRecord& record);

}  // namespace pelorin
