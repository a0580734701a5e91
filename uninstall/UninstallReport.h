// The uninstaller's closing message: removed completely, removed with files waiting for a
// restart, or removed except for the elements listed.
#pragma once

#include <string>
#include <vector>

#include "setup/install/Undo.h"

namespace pelorin {

// At most this many leftovers are listed one by one; the rest are counted.
constexpr std::size_t UninstallReportMaxItems = 15;

std::string UninstallReport(const std::string& title, const std::vector<UndoFailure>& leftovers,
                            const std::vector<std::string>& scheduled);

}  // namespace pelorin
