// Decoding tables: which sets of code lengths are accepted, codes longer than
// the lookup bits, and storage that is too small.
#include <gtest/gtest.h>

#include "tests/core/unzip-methods/TestIO.h"
#include "tests/core/unzip-methods/encoders/BitWriter.h"
#include "update/unzip/DecodingTable.h"

namespace pelorin::test {
namespace {

// Decodes the given bits (sent LSB first) with a table over lengths.
std::vector<int> DecodeAll(const std::vector<std::uint8_t>& lengths, const Bytes& bits, int count) {
    DecodingTable<16 + 4096> table(4);  // the deepest code needs a 12-bit second level
    EXPECT_EQ(table.Build(lengths.data(), static_cast<unsigned>(lengths.size()), Completeness::AllowSingleOrNone),
              TableStatus::Ok);
    MemoryInput input(bits);
    BitReader reader(input);
    std::vector<int> symbols;
    for (int i = 0; i < count; ++i) symbols.push_back(table.Decode(reader));
    return symbols;
}

TEST(DecodingTable, AcceptsOnlyUsableLengthSets) {
    DecodingTable<512> table(7);
    const std::uint8_t oversubscribed[] = {1, 1, 1};
    const std::uint8_t incomplete[] = {1, 2, 0};
    const std::uint8_t single[] = {0, 1, 0};
    const std::uint8_t none[] = {0, 0, 0};
    const std::uint8_t tooLong[] = {1, 17, 17};
    EXPECT_EQ(table.Build(oversubscribed, 3, Completeness::AllowSingleOrNone), TableStatus::Invalid);
    EXPECT_EQ(table.Build(incomplete, 3, Completeness::AllowSingleOrNone), TableStatus::Invalid);
    EXPECT_EQ(table.Build(tooLong, 3, Completeness::AllowSingleOrNone), TableStatus::Invalid);
    EXPECT_EQ(table.Build(single, 3, Completeness::Complete), TableStatus::Invalid);
    EXPECT_EQ(table.Build(none, 3, Completeness::Complete), TableStatus::Invalid);
    EXPECT_EQ(table.Build(none, 3, Completeness::AllowSingleOrNone), TableStatus::Ok);
}

TEST(DecodingTable, SingleAndEmptyCodesDecodeOnlyWhatExists) {
    EXPECT_EQ(DecodeAll({0, 1, 0}, Bytes{0x02}, 2), (std::vector<int>{1, -1}));
    EXPECT_EQ(DecodeAll({0, 0}, Bytes{0x00}, 1), (std::vector<int>{-1}));
}

TEST(DecodingTable, CodesLongerThanTheLookupBits) {
    // One code of each length 1..15 and two of 16: a complete code whose long
    // codes all hang below one root entry (4 lookup bits here).
    std::vector<std::uint8_t> lengths;
    for (std::uint8_t len = 1; len <= 16; ++len) lengths.push_back(len);
    lengths.push_back(16);
    // Canonical codes: length n (n < 16) is n-1 ones then a zero; the 16-bit
    // ones are fifteen ones then 0 or 1.
    BitWriter bits;
    for (unsigned symbol = 0; symbol < lengths.size(); ++symbol) {
        const unsigned len = lengths[symbol];
        const std::uint32_t code = symbol < 16 ? ((1u << len) - 2) : 0xFFFF;
        bits.Put(Reversed(code, len), len);
    }
    std::vector<int> expected;
    for (int symbol = 0; symbol < 17; ++symbol) expected.push_back(symbol);
    EXPECT_EQ(DecodeAll(lengths, bits.Finish(), 17), expected);
}

TEST(DecodingTable, ReportsStorageThatIsTooSmall) {
    std::vector<std::uint8_t> lengths;
    for (std::uint8_t len = 1; len <= 16; ++len) lengths.push_back(len);
    lengths.push_back(16);
    DecodingTable<64> small(4);
    EXPECT_EQ(small.Build(lengths.data(), 17, Completeness::Complete), TableStatus::TooLarge);
    DecodingTable<8> rootOnly(4);
    EXPECT_EQ(rootOnly.Build(lengths.data(), 2, Completeness::AllowSingleOrNone), TableStatus::TooLarge);
}

}  // namespace
}  // namespace pelorin::test
