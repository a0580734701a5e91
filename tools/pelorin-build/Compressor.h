// One source file compressed whole in memory at the project's Compression level, so that the
// archive writer can have several compressed at once and still store them in their order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/BlockWriter.h"
#include "tools/pelorin-build/Project.h"

namespace pelorin {

struct CompressedFile {
    std::vector<std::uint8_t> data;  // one zlib stream
    DeflateResult result;
};

// The zlib level of fast and normal (1 and 9); max is Zopfli's.
int ZlibLevel(Compression compression);

// Reads and compresses path. Raises EReadError or Exception when it cannot.
CompressedFile CompressFile(const std::string& path, Compression compression);

// Whether this build of the tool has Zopfli (Compression = max).
bool MaxCompressionAvailable();

}  // namespace pelorin
