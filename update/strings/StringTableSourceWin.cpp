// String tables of the Windows builds: custom resources of the running program.
#include "update/strings/StringTableSource.h"

namespace pelorin {

ProgramResourceData LocateStringTable(const std::string& name) { return FindProgramResource(name, "S_StringTable"); }

}  // namespace pelorin
