// Undoing the registry records: whole key trees, keys left empty, and single values.
// Only the predefined root keys are accepted as a record's root.
#pragma once

#include <windows.h>

#include <cstdint>

#include "setup/install/UndoContext.h"
#include "setup/install/UndoRecord.h"

namespace pelorin {

// The predefined root key a record's value names (0x80000000 to 0x80000006); null for
// anything else, which a damaged log could otherwise turn into a handle of this process.
HKEY UndoRootKey(std::uint32_t value);

void UndoRegKeyTree(TUndoContext& context, const UndoRecord& record);
// ukRegKeyIfEmpty and ukRegValue: the value first (for ukRegValue), then the key when empty.
void UndoRegKeyIfEmpty(TUndoContext& context, const UndoRecord& record);

}  // namespace pelorin
