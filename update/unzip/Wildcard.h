// The wildcard patterns that select entries: "*" any run, "?" one character, "<...>" a set of
// characters and ranges ("!" or "^" first negates it); everything else matches itself.
#pragma once

#include <string>

namespace pelorin {

// The whole name must match. Case matters here: the caller lower-cases both sides.
bool MatchesPattern(const std::string& pattern, const std::string& name);

}  // namespace pelorin
