// ReadBlock: the checks on every field of a block header, stored and compressed
// payloads, streams that are too long, too short or damaged, and files that end early.
#include <gtest/gtest.h>

#include "SampleData.h"
#include "setup/BlockWriter.h"
#include "setup/ZStream.h"

namespace pelorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A block with the given fields; HeaderCheck is computed unless given.
Bytes MakeBlock(const Bytes& payload, std::int32_t storedLength, std::int32_t dataLength, std::uint32_t dataCheck) {
    Bytes block(BlockHeaderSize);
    PutLE32(&block[4], static_cast<std::uint32_t>(storedLength));
    PutLE32(&block[8], static_cast<std::uint32_t>(dataLength));
    PutLE32(&block[12], dataCheck);
    PutLE32(&block[0], Adler32(1, &block[4], 12));
    block.insert(block.end(), payload.begin(), payload.end());
    return block;
}

// A compressed block whose payload is the stream of `streamed`, claiming `claimed`.
Bytes StreamBlock(const Bytes& streamed, const Bytes& claimed) {
    const Bytes z = DeflateBytes(streamed.data(), streamed.size());
    return MakeBlock(z, static_cast<std::int32_t>(z.size()), static_cast<std::int32_t>(claimed.size()),
                     Adler32(1, claimed.data(), claimed.size()));
}

Bytes Read(const Bytes& file, std::size_t size) {
    MemoryByteSource in(file.data(), file.size());
    Bytes out(size);
    ReadBlock(in, out.data(), size);
    return out;
}

TEST(ReadBlock, CompressedAndStoredBlocksFollowEachOther) {
    const Bytes a = test::MixedBytes(100000, 1);
    const Bytes b = test::MixedBytes(329, 2);
    Bytes file = EncodeBlock(a.data(), a.size(), bsCompressed);
    const Bytes stored = EncodeBlock(b.data(), b.size(), bsStored);
    EXPECT_EQ(GetLE32(&stored[4]), 0xFFFFFFFFu);
    file.insert(file.end(), stored.begin(), stored.end());
    file.push_back(0x5A);

    MemoryByteSource in(file.data(), file.size());
    Bytes outA(a.size());
    Bytes outB(b.size());
    ReadBlock(in, outA.data(), outA.size());
    ReadBlock(in, outB.data(), outB.size());
    EXPECT_EQ(outA, a);
    EXPECT_EQ(outB, b);
    std::uint8_t next = 0;
    EXPECT_EQ(in.Read(&next, 1), 1u);
    EXPECT_EQ(next, 0x5A) << "the position is just past the second block";
}

TEST(ReadBlock, EmptyStoredBlockIsValid) {
    const Bytes block = MakeBlock({}, StoredUncompressed, 0, 1);
    EXPECT_NO_THROW(Read(block, 0));
    MemoryByteSource in(block.data(), block.size());
    EXPECT_TRUE(ReadBlock(in, 0).empty());
}

TEST(ReadBlock, EveryChangedHeaderByteIsRejected) {
    const Bytes data = test::MixedBytes(500, 3);
    for (BlockStorage storage : {bsCompressed, bsStored}) {
        const Bytes good = EncodeBlock(data.data(), data.size(), storage);
        ASSERT_EQ(Read(good, data.size()), data);
        for (std::size_t i = 0; i < BlockHeaderSize; ++i) {
            for (std::uint8_t flip : {0x01, 0x80, 0xFF}) {
                Bytes bad = good;
                bad[i] ^= flip;
                EXPECT_THROW(Read(bad, data.size()), EZlibDataError)
                    << "storage " << storage << " byte " << i << " flip " << int(flip);
            }
        }
    }
}

TEST(ReadBlock, WrongExpectedSizeIsRejected) {
    const Bytes data = test::MixedBytes(98, 4);
    const Bytes block = EncodeBlock(data.data(), data.size(), bsCompressed);
    EXPECT_THROW(Read(block, 97), EZlibDataError);
    EXPECT_THROW(Read(block, 99), EZlibDataError);
    EXPECT_THROW(Read(MakeBlock({}, StoredUncompressed, -1, 1), 0), EZlibDataError);
}

TEST(ReadBlock, WrongDataChecksumIsRejected) {
    const Bytes data = test::MixedBytes(300, 5);
    const std::uint32_t wrong = Adler32(1, data.data(), data.size()) ^ 0x100;
    EXPECT_THROW(Read(MakeBlock(data, StoredUncompressed, 300, wrong), 300), EZlibDataError);
    const Bytes z = DeflateBytes(data.data(), data.size());
    EXPECT_THROW(Read(MakeBlock(z, static_cast<std::int32_t>(z.size()), 300, wrong), 300), EZlibDataError);
}

TEST(ReadBlock, StreamLongerThanTheBlockIsRejectedWithoutOverrun) {
    const Bytes streamed = test::MixedBytes(70000, 6);
    const Bytes claimed(streamed.begin(), streamed.begin() + 40000);
    const Bytes block = StreamBlock(streamed, claimed);

    MemoryByteSource in(block.data(), block.size());
    Bytes out(claimed.size() + 64, 0xCC);
    EXPECT_THROW(ReadBlock(in, out.data(), claimed.size()), EZlibDataError);
    for (std::size_t i = claimed.size(); i < out.size(); ++i) {
        ASSERT_EQ(out[i], 0xCC) << "byte " << i << " past the destination was written";
    }
}

TEST(ReadBlock, StreamShorterThanTheBlockIsRejected) {
    const Bytes full = test::MixedBytes(1000, 7);
    const Bytes part(full.begin(), full.begin() + 900);
    // Checksum of the full data: caught by the checksum.
    const Bytes z = DeflateBytes(part.data(), part.size());
    EXPECT_THROW(
        Read(MakeBlock(z, static_cast<std::int32_t>(z.size()), 1000, Adler32(1, full.data(), full.size())), 1000),
        EZlibDataError);
    // Checksum matching what the stream delivers: caught by the byte count.
    EXPECT_THROW(
        Read(MakeBlock(z, static_cast<std::int32_t>(z.size()), 1000, Adler32(1, part.data(), part.size())), 1000),
        EZlibDataError);
}

TEST(ReadBlock, DamagedStreamsAndStoredLengthsAreRejected) {
    const Bytes data = test::MixedBytes(2000, 8);
    const Bytes z = DeflateBytes(data.data(), data.size());
    const std::int32_t zl = static_cast<std::int32_t>(z.size());
    const std::uint32_t check = Adler32(1, data.data(), data.size());

    Bytes trailer = z;
    trailer.back() ^= 1;
    EXPECT_THROW(Read(MakeBlock(trailer, zl, 2000, check), 2000), EZlibDataError);

    Bytes longer = z;
    longer.insert(longer.end(), {1, 2, 3});
    EXPECT_THROW(Read(MakeBlock(longer, zl + 3, 2000, check), 2000), EZlibDataError);

    const Bytes cut(z.begin(), z.end() - 4);
    EXPECT_THROW(Read(MakeBlock(cut, zl - 4, 2000, check), 2000), EZlibDataError);

    EXPECT_THROW(Read(MakeBlock(z, -2, 2000, check), 2000), EZlibDataError);
    EXPECT_THROW(Read(MakeBlock(z, 0, 2000, check), 2000), EZlibDataError);
}

TEST(ReadBlock, FileEndingInsideTheBlockIsAReadError) {
    const Bytes data = test::MixedBytes(5000, 9);
    for (BlockStorage storage : {bsCompressed, bsStored}) {
        const Bytes block = EncodeBlock(data.data(), data.size(), storage);
        for (std::size_t cut :
             {std::size_t{0}, std::size_t{7}, BlockHeaderSize, BlockHeaderSize + 1, block.size() - 1}) {
            const Bytes part(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(cut));
            EXPECT_THROW(Read(part, data.size()), EReadError) << "cut at " << cut;
        }
    }
}

TEST(ReadBlock, GrowingDestinationAllocatesOnlyWhatArrives) {
    const Bytes data = test::MixedBytes(200000, 10);
    const Bytes block = EncodeBlock(data.data(), data.size(), bsCompressed);
    MemoryByteSource in(block.data(), block.size());
    EXPECT_EQ(ReadBlock(in, data.size()), data);

    // A consistent header claiming 2 GB with only a few bytes behind it.
    const Bytes huge = MakeBlock({1, 2, 3}, StoredUncompressed, 0x7FFFFFFF, 1);
    MemoryByteSource hugeIn(huge.data(), huge.size());
    EXPECT_THROW(ReadBlock(hugeIn, 0x7FFFFFFF), EReadError);
}

}  // namespace
}  // namespace pelorin
