// Replacing a file where the system cannot rename over an existing one (Windows 95 has no
// MoveFileEx): the old file steps aside first and comes back when the new one fails to move in.
#pragma once

#include <string>

namespace pelorin {

// Puts from in the place of to. The old file is renamed to a free name beside it, from takes
// its name, and only then is the old file deleted; if from cannot move in, the old file gets its
// name back. A read-only target is refused, as the system's own replace refuses it. False
// (with the old file as it was) when the replacement did not happen.
bool ReplaceByStepAside(const std::string& from, const std::string& to);

}  // namespace pelorin
