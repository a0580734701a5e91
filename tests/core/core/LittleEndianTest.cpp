// Little-endian access: byte order, the top bit of every width (no sign spreading),
// and appending to text buffers whose char is signed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LittleEndian.h"

namespace pelorin {
namespace {

TEST(LittleEndian, ReadsLowByteFirstWithoutSpreadingTheTopBit) {
    const std::uint8_t bytes[] = {0x01, 0x02, 0x03, 0x84, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(GetLE16(bytes + 2), 0x8403u);
    EXPECT_EQ(GetLE32(bytes), 0x84030201u);
    EXPECT_EQ(GetLE32(bytes + 4), 0xFFFFFFFFu);
    EXPECT_EQ(GetLE64(bytes), 0xFFFFFFFF84030201ull);
}

TEST(LittleEndian, WritesWhatItReads) {
    std::uint8_t bytes[8] = {};
    PutLE64(bytes, 0x8877665544332211ull);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[7], 0x88);
    EXPECT_EQ(GetLE64(bytes), 0x8877665544332211ull);
    PutLE32(bytes + 1, 0xFEDCBA98u);
    EXPECT_EQ(GetLE32(bytes + 1), 0xFEDCBA98u);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[5], 0x66);
    PutLE16(bytes, 0xABCD);
    EXPECT_EQ(GetLE16(bytes), 0xABCDu);
}

TEST(LittleEndian, AppendsToTextAndByteBuffers) {
    std::string text = "x";
    AppendLE16(text, 0x80FF);
    AppendLE32(text, 0xDEADBEEFu);
    ASSERT_EQ(text.size(), 7u);
    EXPECT_EQ(GetLE16(reinterpret_cast<const std::uint8_t*>(text.data() + 1)), 0x80FFu);
    EXPECT_EQ(GetLE32(reinterpret_cast<const std::uint8_t*>(text.data() + 3)), 0xDEADBEEFu);

    std::vector<std::uint8_t> bytes;
    AppendLE32(bytes, 0x01020304u);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{4, 3, 2, 1}));
}

}  // namespace
}  // namespace pelorin
