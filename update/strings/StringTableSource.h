// Where a string table's bytes come from: the program's resources of type "S_STringTable"
// in the Windows builds, the tables built into the code natively.
#pragma once

#include <string>

#include "platform/ProgramResource.h"

namespace pelorin {

ProgramResourceData LocateStringTable(const std::string& name);

}  // namespace pelorin
