// String tables of the Windows builds: custom resources of the running program.
// The resource type matches without regard to case ("S_STRINGTABLE" in the resource script).
#include "update/strings/StringTableSource.h"

namespace pelorin {

ProgramResourceData LocateStringTable(const std::string& name) { return FindProgramResource(name, "S_StringTable"); }

}  // namespace pelorin
