// --verify: inflates every stored file against its entry and checks that PELORIN.DLL,
// PELORIN.DAT and pelorin.exe of a distribution folder belong together.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

struct VerifyReport {
    std::vector<std::string> problems;  // one line each; none means intact
    std::vector<std::string> notes;     // worth knowing, but no fault
    std::size_t fileCount = 0;
    std::uint64_t uncompressedSize = 0;
};

// Throws BuildError only when dir is not a folder; every other finding is a problem line.
VerifyReport VerifyPackage(const std::string& dir);

}  // namespace pelorin
