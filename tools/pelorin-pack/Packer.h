// The packer: the image of an update program (without anything appended to it) followed by
// a checked zip archive, written under a temporary name and moved into place when complete.
#pragma once

#include <string>

#include "tools/pelorin-pack/ArchiveCheck.h"

namespace pelorin {

// Raised for any input or output that stops the packing; the message names the file.
class EPackError : public Exception {
public:
    using Exception::Exception;
};

struct PackResult {
    std::uint64_t imageLength = 0;
    std::uint64_t replacedBytes = 0;  // what was appended to the program before
    ArchiveSummary archive;
};

// An archive already appended to program is replaced. output may name program itself.
PackResult Pack(const std::string& program, const std::string& archive, const std::string& output);

}  // namespace pelorin
