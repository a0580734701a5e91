// Undoing a ukFile record: shared counters, the shared-file question, unregistering and
// deleting the file (with the help system's companions of a ".HLP" file).
#pragma once

#include <string>

#include "setup/install/UndoContext.h"
#include "setup/install/UndoRecord.h"

namespace pelorin {

void UndoFileRecord(TUndoContext& context, const UndoRecord& record);

// Deletes an installed file, first the ".GID" and ".FTS" files of a ".HLP" help file.
// A file that does not exist is no failure.
void DeleteInstalledFile(TUndoContext& context, const std::string& file, bool notify);

// Calls DllUnregisterServer of the library; true when it exists and answers 0 or more.
bool UnregisterServer(const std::string& path);

}  // namespace pelorin
