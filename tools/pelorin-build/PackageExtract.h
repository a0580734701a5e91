// --extract: writes every stored file where the installation would put it, below an output
// folder with {app}, {win}, {sys} and {src} as folders, stamped with the stored times.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin {

struct ExtractReport {
    std::vector<std::string> problems;  // one line each: refused destinations, damaged data
    std::size_t written = 0;            // files written
    std::uint64_t bytes = 0;
};

// A refused destination (see MapDestination) stops the extraction before anything is written.
// Otherwise each file is written under a temporary name, stamped and renamed into place only
// when its size and Adler-32 are right; a damaged one is reported and left out. The folders of
// the description's [Dir] entries are created too. Throws BuildError when the package folder
// or the description cannot be read.
ExtractReport ExtractPackage(const std::string& dir, const std::string& outDir);

}  // namespace pelorin
