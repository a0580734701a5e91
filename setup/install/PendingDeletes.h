// Deletions queued for the next restart, as the platform keeps them: pairs of names in the
// "PendingFileRenameOperations" value (NT) and "NUL=" lines of WININIT.INI's "[rename]" section.
// Portable: the lists are edited here, read and written by FileRulesPending.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace pelorin {

// Whether a queued name (without the "\??\" prefix) names the file in question.
using TSamePath = std::function<bool(const std::string& queuedName)>;

// The strings of a REG_MULTI_SZ value (the empty string that ends the list is not one).
std::vector<std::string> SplitMultiString(const std::string& value);
std::string JoinMultiString(const std::vector<std::string>& strings);

// Removes every pair "source, empty target" whose source names the file; renames (pairs with
// a target) stay. A last source without a target is a deletion whose empty target became the
// list's end mark. True when one went.
bool RemovePendingDeletions(std::vector<std::string>& pairs, const TSamePath& same);

// Removes the "NUL=<file>" lines of the "[rename]" section that name the file; other lines and
// sections stay. True when one went.
bool RemoveWininitDeletions(std::vector<std::string>& lines, const TSamePath& same);

}  // namespace pelorin
