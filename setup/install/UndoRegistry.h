// Undoing the registry records: whole key trees, keys left empty, and single values.
// Only the predefined root keys are accepted as a record's root.
#pragma once

#include <windows.h>

#include <cstdint>

#include "setup/install/UndoContext.h"
#include "setup/install/UndoRecord.h"

namespace pelorin {

void UndoRegKeyTree(TUndoContext& context, const UndoRecord& record);
// ukRegKeyIfEmpty and ukRegValue: the value first (for ukRegValue), then the key when empty.
void UndoRegKeyIfEmpty(TUndoContext& context, const UndoRecord& record);

}  // namespace pelorin
