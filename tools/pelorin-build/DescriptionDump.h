// Prints a setup description as readable text: every header field and every record,
// read back through the setup program's own loader.
#pragma once

#include <iosfwd>
#include <string>

#include "setup/Struct.h"

namespace pelorin {

// Loads the description from PELORIN.DLL (resource 102) or from a raw description
// file; the input file is left untouched. Throws BuildError or the loader's errors.
SetupData LoadDescriptionFrom(const std::string& path);

void DumpDescription(const SetupData& data, std::ostream& out);

}  // namespace pelorin
