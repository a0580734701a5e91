// The three things pelorin-unzip does with an archive: list it, test it, extract from it.
// Each returns the program's exit status and lets the component's errors pass.
#pragma once

#include "tools/pelorin-unzip/UnzipOptions.h"

namespace pelorin {

int RunList(const UnzipOptions& options);
int RunExtract(const UnzipOptions& options);
// Extracts into a private temporary folder, which is removed afterwards.
int RunTest(const UnzipOptions& options);

}  // namespace pelorin
