// The program manager's answer to the "GROUPS" request, cut into group names: one name per
// line, lines ending in carriage return and line feed. Portable.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

// Names in the order of the answer. A last line without its line end still counts; empty
// lines name no group and are left out.
std::vector<std::string> SplitGroupNames(const std::string& answer);

}  // namespace pelorin
