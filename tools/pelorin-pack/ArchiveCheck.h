// Reads a zip archive the way the update program will (from memory) and decodes every entry
// in memory against its checksum: the archive is accepted only when nothing goes wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Exception.h"

namespace pelorin {

// The archive does not read or test clean; the message says what is wrong.
class EArchiveRefused : public Exception {
public:
    using Exception::Exception;
};

struct ArchiveSummary {
    int entries = 0;
    std::int64_t uncompressedBytes = 0;
};

// Throws EArchiveRefused naming the first problem found.
ArchiveSummary CheckArchive(const std::vector<std::uint8_t>& archive);

}  // namespace pelorin
