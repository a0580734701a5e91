// A minimal zip reader and writer for the decoder tests: the central directory
// and local headers, enough to get at entries and to wrap test encoders' output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/core/unzip-methods/TestIO.h"

namespace pelorin::test {

struct ZipEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::uint32_t crc = 0;
    std::uint64_t uncompressedSize = 0;
    Bytes data;  // compressed bytes
};

// Entries in central directory order; throws pelorin::Exception on a broken archive.
std::vector<ZipEntry> ReadZip(const Bytes& archive);
Bytes WriteZip(const std::vector<ZipEntry>& entries);

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& data);

// $PELORIN_SOURCE_DIR/tests/fixtures/zip-legacy/<name>.
std::string FixturePath(const std::string& name);

}  // namespace pelorin::test
