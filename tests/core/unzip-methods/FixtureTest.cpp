// Every shrunk, reduced and imploded entry of the legacy archives, made by other
// people's encoders, decodes to its stored size and CRC-32.
#include <gtest/gtest.h>

#include <map>

#include "tests/core/unzip-methods/ZipFile.h"
#include "update/unzip/Decoders.h"

namespace pelorin::test {
namespace {

TEST(LegacyFixtures, EveryEntryDecodesToItsChecksum) {
    const char* const archives[] = {"sc-reduce1.zip",
                                    "sc-reduce2.zip",
                                    "sc-reduce3.zip",
                                    "sc-reduce4.zip",
                                    "sc-shrink.zip",
                                    "sc-implode.zip",
                                    "cc-SHRUNK.ZIP",
                                    "cc-imploding-4Kdict-2trees.zip",
                                    "cc-imploding-8Kdict-3trees.zip"};
    std::map<int, int> decodedByMethod;
    for (const char* archive : archives) {
        for (const ZipEntry& entry : ReadZip(ReadFile(FixturePath(archive)))) {
            if (!IsDecoderMethod(entry.method)) continue;
            SCOPED_TRACE(std::string(archive) + " " + entry.name);
            const Bytes decoded = Decode(entry.method, entry.flags, entry.data, entry.uncompressedSize);
            EXPECT_EQ(decoded.size(), entry.uncompressedSize);
            EXPECT_EQ(Crc32(decoded), entry.crc);
            ++decodedByMethod[entry.method];
        }
    }
    // Shrunk, the four reduce factors and both implode variants are all present.
    EXPECT_EQ(decodedByMethod[1], 8);
    for (int method = 2; method <= 5; ++method) EXPECT_EQ(decodedByMethod[method], 2) << "method " << method;
    EXPECT_EQ(decodedByMethod[6], 4);
}

TEST(LegacyFixtures, ImplodeFlagsSelectDictionaryAndTrees) {
    const auto small = ReadZip(ReadFile(FixturePath("cc-imploding-4Kdict-2trees.zip")));
    const auto large = ReadZip(ReadFile(FixturePath("cc-imploding-8Kdict-3trees.zip")));
    ASSERT_EQ(small.size(), 1u);
    ASSERT_EQ(large.size(), 1u);
    EXPECT_EQ(small[0].flags & 6, 0);
    EXPECT_EQ(large[0].flags & 6, 6);
    // Decoded with the wrong flags, the same data no longer matches.
    EXPECT_NE(Crc32(Decode(6, 0, large[0].data, large[0].uncompressedSize)), large[0].crc);
    EXPECT_NE(Crc32(Decode(6, 6, small[0].data, small[0].uncompressedSize)), small[0].crc);
}

}  // namespace
}  // namespace pelorin::test
