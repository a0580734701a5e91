// InflateStream between callbacks: buffers refilled in pieces, output that outgrows
// its buffer, a full destination, malformed streams, and the source/destination adaptor.
#include <gtest/gtest.h>

#include <algorithm>

#include "SampleData.h"
#include "setup/BlockWriter.h"
#include "setup/ZStream.h"

namespace pelorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Serves `source` in pieces of at most `piece` bytes.
InflateReader PieceReader(const Bytes& source, std::size_t piece, std::size_t& pos) {
    return [&source, piece, &pos](std::uint8_t* buffer, std::size_t capacity) {
        EXPECT_EQ(capacity, InflateBufferSize);
        const std::size_t n = std::min({piece, capacity, source.size() - pos});
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(pos), n, buffer);
        pos += n;
        return n;
    };
}

InflateWriter Collector(Bytes& out) {
    return [&out](const std::uint8_t* buffer, std::size_t count) {
        out.insert(out.end(), buffer, buffer + count);
        return count;
    };
}

TEST(InflateStream, DeliversEverythingWhateverTheInputPieces) {
    const Bytes data = test::MixedBytes(300000, 11);
    const Bytes z = DeflateBytes(data.data(), data.size());
    for (std::size_t piece : {std::size_t{1}, std::size_t{999}, InflateBufferSize}) {
        std::size_t pos = 0;
        Bytes out;
        const InflateResult r = InflateStream(PieceReader(z, piece, pos), Collector(out));
        EXPECT_TRUE(r.Completed);
        EXPECT_EQ(r.Checksum, Adler32(1, data.data(), data.size()));
        EXPECT_EQ(out, data) << "piece " << piece;
        EXPECT_EQ(pos, z.size());
    }
    const Bytes empty = DeflateBytes(nullptr, 0);
    std::size_t pos = 0;
    Bytes out;
    const InflateResult r = InflateStream(PieceReader(empty, 1, pos), Collector(out));
    EXPECT_TRUE(r.Completed);
    EXPECT_EQ(r.Checksum, 1u);
    EXPECT_TRUE(out.empty());
}

TEST(InflateStream, OutputFarLargerThanOneInputBufferIsNotLost) {
    // 8 MB of zeros compress to a few KB: one read, hundreds of output buffers.
    const Bytes zeros(8 << 20, 0);
    const Bytes z = DeflateBytes(zeros.data(), zeros.size());
    ASSERT_LT(z.size(), InflateBufferSize);
    std::size_t pos = 0;
    std::size_t total = 0;
    const InflateResult r =
        InflateStream(PieceReader(z, InflateBufferSize, pos), [&total](const std::uint8_t*, std::size_t n) {
            total += n;
            return n;
        });
    EXPECT_TRUE(r.Completed);
    EXPECT_EQ(total, zeros.size());
    EXPECT_EQ(r.Checksum, Adler32(1, zeros.data(), zeros.size()));
}

TEST(InflateStream, FullDestinationEndsWithoutCompletion) {
    const Bytes data = test::MixedBytes(100000, 12);
    const Bytes z = DeflateBytes(data.data(), data.size());
    std::size_t pos = 0;
    std::size_t calls = 0;
    const InflateResult r = InflateStream(PieceReader(z, 5000, pos), [&calls](const std::uint8_t*, std::size_t n) {
        ++calls;
        return calls == 1 ? n : n - 1;
    });
    EXPECT_FALSE(r.Completed);
    EXPECT_EQ(calls, 2u) << "nothing is offered after the destination refused";
}

TEST(InflateStream, MalformedInputIsCorruptedData) {
    const Bytes data = test::MixedBytes(10000, 13);
    const Bytes z = DeflateBytes(data.data(), data.size());
    const auto run = [](const Bytes& input) {
        std::size_t pos = 0;
        Bytes out;
        return InflateStream(PieceReader(input, InflateBufferSize, pos), Collector(out));
    };
    EXPECT_THROW(run({}), EZlibDataError);
    EXPECT_THROW(run({0x12, 0x34, 0x56}), EZlibDataError);
    EXPECT_THROW(run({0x78, 0xBB, 0, 0, 0, 1, 0}), EZlibDataError) << "preset dictionary";
    EXPECT_THROW(run(Bytes(z.begin(), z.end() - 1)), EZlibDataError);
    Bytes extra = z;
    extra.push_back(0);
    EXPECT_THROW(run(extra), EZlibDataError);
    Bytes flipped = z;
    flipped[z.size() / 2] ^= 0x55;
    EXPECT_THROW(run(flipped), EZlibError);
    try {
        run({0x12, 0x34});
    } catch (const EZlibDataError& e) {
        EXPECT_STREQ(e.what(), "zlib: Compressed data is corrupted");
    }
    EXPECT_STREQ(EZlibInternalError(-2).what(), "zlib: Internal error. Code -2");
}

TEST(InflateStream, CallbackErrorsPassThroughAndBadCountsAreRefused) {
    const Bytes data = test::MixedBytes(1000, 14);
    const Bytes z = DeflateBytes(data.data(), data.size());
    const InflateWriter drop = [](const std::uint8_t*, std::size_t n) { return n; };
    EXPECT_THROW(InflateStream([](std::uint8_t*, std::size_t) -> std::size_t { throw EAbort(); }, drop), EAbort);
    EXPECT_THROW(InflateStream([](std::uint8_t*, std::size_t c) { return c + 1; }, drop), Exception);
}

TEST(InflateAdaptor, CountsDownSourceAndDestination) {
    const Bytes data = test::MixedBytes(50000, 15);
    Bytes z = DeflateBytes(data.data(), data.size());
    const std::size_t streamSize = z.size();
    z.insert(z.end(), 100, 0xEE);  // beyond the source's count: never read

    InflateAdaptor toBuffer;
    Bytes out;
    toBuffer.ReadFrom(z.data(), streamSize);
    toBuffer.WriteTo(out, InflateAdaptor::NoLimit);
    const InflateResult r = InflateStream(InflateAdaptor::Read, InflateAdaptor::Write, &toBuffer);
    EXPECT_TRUE(r.Completed);
    EXPECT_EQ(toBuffer.Written(), data.size());
    EXPECT_EQ(out, data);

    InflateAdaptor limited;
    MemoryByteSource in(z.data(), z.size());
    Bytes dest(1000);
    limited.ReadFrom(in, static_cast<std::int64_t>(streamSize));
    limited.WriteTo(dest.data(), 1000);
    EXPECT_FALSE(InflateStream(InflateAdaptor::Read, InflateAdaptor::Write, &limited).Completed);
    EXPECT_EQ(limited.Written(), 1000u);
    EXPECT_TRUE(std::equal(dest.begin(), dest.end(), data.begin()));
}

}  // namespace
}  // namespace pelorin
