// The stored file of one entry, inflated from the archive on disk with the setup program's own
// InflateStream, reading no further than the entry's compressed size.
#include "tests/core/pelorin-build/StoredFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "setup/ZStream.h"

namespace pelorin::testing {

std::vector<std::uint8_t> ReadStoredFile(const std::string& archive, const FileEntry& entry) {
    std::ifstream in(archive, std::ios::binary);
    in.seekg(entry.DataOffset);
    char magic[4] = {};
    in.read(magic, 4);
    EXPECT_EQ(std::string(magic, 4), "zel8");
    std::vector<std::uint8_t> out;
    std::uint32_t left = entry.CompressedSize;
    const InflateResult result = InflateStream(
        [&](std::uint8_t* buffer, std::size_t capacity) {
            const auto count = static_cast<std::streamsize>(std::min<std::size_t>(capacity, left));
            in.read(reinterpret_cast<char*>(buffer), count);
            left -= static_cast<std::uint32_t>(in.gcount());
            return static_cast<std::size_t>(in.gcount());
        },
        [&](const std::uint8_t* buffer, std::size_t count) {
            out.insert(out.end(), buffer, buffer + count);
            return count;
        });
    EXPECT_TRUE(result.Completed);
    EXPECT_EQ(result.Checksum, entry.Adler32);
    return out;
}

}  // namespace pelorin::testing
