// A switch for the tests that kill an installation: the process ends at once, as if killed,
// at the point that the environment variable PELORIN_TEST_KILL names. Unset, it does nothing.
#pragma once

namespace pelorin {

// Points: "record:N" after the N-th journal record is on disk, before its change; "write:N"
// after the first block of the N-th file's data is written; "log" when REMOVE.LOG has been
// created and nothing written to it; "done" when REMOVE.LOG is written and the journal not yet
// removed.
void TestKillPoint(const char* point, unsigned number = 0);

}  // namespace pelorin
