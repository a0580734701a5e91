// Reads the program manager's answer to a group request: the group name in double quotes,
// a comma, the group file, a comma, the number of items, further fields.
#pragma once

#include <string>

namespace pelorin {

// True when the answer says the group holds no items. Raises "An error occured while trying
// to request data from Progman using DDE." when the answer lacks its quotes or commas.
bool ProgmanGroupIsEmpty(const std::string& answer);

}  // namespace pelorin
