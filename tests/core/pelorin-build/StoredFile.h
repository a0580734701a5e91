// Reads a file back out of PELORIN.DAT as the setup program does: the "zel8" mark at the
// entry's offset, then one zlib stream that must inflate to the recorded checksum.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/Struct.h"

namespace pelorin::testing {

// The inflated bytes of entry; a test failure when the mark, the stream or the checksum is wrong.
std::vector<std::uint8_t> ReadStoredFile(const std::string& archive, const FileEntry& entry);

}  // namespace pelorin::testing
