// Before the wizard shows: an installation of the same application that ended without
// finishing (killed, a power cut, a crash) is taken back from its journal.
#pragma once

namespace pelorin {

// Tells the user in a box, replays the journal in rollback mode and removes it. Does nothing
// when there is no journal. Needs the start-up's values (the setup description, {win}).
void RecoverInterruptedInstall();

}  // namespace pelorin
