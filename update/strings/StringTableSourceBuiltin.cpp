// String tables of the native builds: the tables the Windows programs carry as resources,
// built into the code.
#include "update/strings/StringTableSource.h"

#include "core/TextCase.h"
#include "update/strings/StreamMessages.h"

namespace pelorin {

ProgramResourceData LocateStringTable(const std::string& name) {
    ProgramResourceData result;
    if (!SameText(name, kStreamTableName)) return result;
    const std::vector<std::uint8_t>& table = BuiltinStreamTable();
    result.status = TResourceStatus::rsFound;
    result.data = table.data();
    result.size = table.size();
    return result;
}

}  // namespace pelorin
