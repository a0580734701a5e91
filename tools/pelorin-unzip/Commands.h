// What pelorin-unzip does with an archive: list it, test it, extract from it to files or to
// standard output.
#pragma once

#include "tools/pelorin-unzip/UnzipOptions.h"

namespace pelorin {

class TVCLUnZip;

// Each returns the program's exit status and lets the component's errors pass.
// -l, or -v for the verbose listing.
int RunList(const UnzipOptions& options);
int RunExtract(const UnzipOptions& options);
// Nothing but the entries' bytes goes to standard output; reports go to standard error.
int RunPipe(const UnzipOptions& options);
// Decodes every selected entry and checks its CRC-32; writes nothing to disk.
int RunTest(const UnzipOptions& options);

// Reads the directory of an archive that may be appended to a program (an update program, a
// self-extractor); unless quiet, says on standard error how many bytes stand in front of it.
void ReadArchiveDirectory(TVCLUnZip& zip, const UnzipOptions& options);

}  // namespace pelorin
