// Why a write through the C or C++ runtime failed, in the system's words: the tools add it to
// their messages, so that a full disk says so rather than just "cannot write".
#pragma once

#include <string>

namespace pelorin {

// Clear before a series of writes, so that the reason is theirs.
void ClearWriteFailure();
// ": " and the runtime's text for the error of the last failed write (errno), for example
// ": No space left on device"; "" when none was recorded.
std::string WriteFailureSuffix();

}  // namespace pelorin
