// The deflate decoder against zlib's raw deflate: every level and strategy,
// hand-over of the window, the size limit, and streams that are damaged.
#include <gtest/gtest.h>

#include <zlib.h>

#include "tests/core/unzip-methods/TestIO.h"
#include "tests/core/unzip-methods/encoders/BitWriter.h"
#include "update/unzip/Decoders.h"
#include "update/unzip/Inflate.h"

namespace pelorin::test {
namespace {

Bytes RawDeflate(const Bytes& input, int level, int strategy = Z_DEFAULT_STRATEGY) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
    Bytes out(deflateBound(&stream, static_cast<uLong>(input.size())) + 16);
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

struct Decoded {
    Bytes bytes;
    std::vector<std::size_t> puts;
    std::vector<std::string> messages;
};

Decoded InflateEntry(const Bytes& data, std::uint64_t uncompressedSize) {
    MemoryInput input(data);
    CollectingOutput output;
    Bytes window(kWindowBufferSize);
    DecodeJob job;
    job.method = 8;
    job.compressedSize = data.size();
    job.uncompressedSize = uncompressedSize;
    DecodeEntry(job, input, output, window.data());
    return {output.bytes, output.puts, output.messages};
}

Bytes Sample() {
    Bytes data = SampleText(150000, 3);
    const Bytes noise = SampleNoise(40000, 4);
    data.insert(data.end(), noise.begin(), noise.end());
    const Bytes again = SampleText(60000, 3);  // repeats from far back
    data.insert(data.end(), again.begin(), again.end());
    return data;
}

TEST(Inflate, EveryLevelAndStrategyOfZlib) {
    const Bytes input = Sample();
    for (int level = 0; level <= 9; ++level) {
        EXPECT_EQ(InflateEntry(RawDeflate(input, level), input.size()).bytes, input) << "level " << level;
    }
    for (const int strategy : {Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED}) {
        EXPECT_EQ(InflateEntry(RawDeflate(input, 6, strategy), input.size()).bytes, input) << "strategy " << strategy;
    }
}

// Runs of every short period, copies from nearly a whole window back (their source wraps
// around the window's end), and noise that zlib keeps in stored blocks, in one stream.
TEST(Inflate, ShortPeriodsWrappedSourcesAndStoredRuns) {
    Bytes input = SampleText(40000, 5);
    for (std::size_t period = 1; period <= 12; ++period) {
        const Bytes unit = SampleNoise(period, static_cast<std::uint32_t>(period));
        for (int i = 0; i < 300; ++i) input.insert(input.end(), unit.begin(), unit.end());
    }
    for (const std::size_t back : {32768u, 32767u, 32760u, 30001u}) {
        const Bytes again(input.end() - static_cast<std::ptrdiff_t>(back),
                          input.end() - static_cast<std::ptrdiff_t>(back) + 700);
        input.insert(input.end(), again.begin(), again.end());
        const Bytes filler = SampleText(back - 700, static_cast<std::uint32_t>(back));
        input.insert(input.end(), filler.begin(), filler.end());
    }
    const Bytes noise = SampleNoise(70001, 6);
    input.insert(input.end(), noise.begin(), noise.end());
    for (const int level : {1, 6, 9}) {
        const Bytes packed = RawDeflate(input, level);
        EXPECT_EQ(InflateEntry(packed, input.size()).bytes, input) << "level " << level;
        // Stopping early, at and around the window's end and inside the stored blocks.
        for (const std::size_t limit : {std::size_t{32768}, std::size_t{32769}, input.size() - 40000}) {
            EXPECT_EQ(InflateEntry(packed, limit).bytes, Bytes(input.begin(), input.begin() + limit)) << limit;
        }
    }
}

// A fixed-code block written symbol by symbol, with the bytes it stands for kept beside it:
// for distances and sequences that zlib never writes.
class FixedBlock {
public:
    FixedBlock() {
        bits_.Put(1, 1);  // final
        bits_.Put(1, 2);  // fixed codes
    }
    void Literal(std::uint8_t byte) {
        if (byte < 144) {
            bits_.Put(Reversed(0x30 + byte, 8), 8);
        } else {
            bits_.Put(Reversed(0x190 + byte - 144, 9), 9);
        }
        plain.push_back(byte);
    }
    // length 3 to 10, distance 1 to 32768
    void Match(unsigned length, unsigned distance) {
        bits_.Put(Reversed(length - 2, 7), 7);  // symbols 257 to 264
        unsigned code = 0;
        while (code < 29 && DistanceBase(code + 1) <= distance) ++code;
        bits_.Put(Reversed(code, 5), 5);
        const unsigned extra = code < 4 ? 0 : code / 2 - 1;
        bits_.Put(distance - DistanceBase(code), extra);
        for (unsigned i = 0; i < length; ++i) plain.push_back(plain[plain.size() - distance]);
    }
    Bytes Finish() {
        bits_.Put(0, 7);  // end of block
        return bits_.Finish();
    }
    Bytes plain;

private:
    static unsigned DistanceBase(unsigned code) {
        if (code < 4) return code + 1;
        const unsigned extra = code / 2 - 1;
        return (2u + (code & 1)) << extra | 1;
    }
    BitWriter bits_;
};

// Copies from exactly a window back, each right after a short match, at every offset from the
// window's end: the bytes after a short match must stay as they were, and sources within a
// few bytes of the window's end run on at its start.
TEST(Inflate, WholeWindowDistancesAfterShortMatches) {
    FixedBlock block;
    for (const std::uint8_t byte : SampleNoise(32768, 9)) block.Literal(byte);
    for (unsigned i = 0; i < 9000; ++i) {
        block.Match(3 + i % 8, 1 + i % 40);
        block.Match(3 + (i / 8) % 8, 32768);
        if (i % 7 == 0) block.Literal(static_cast<std::uint8_t>(i));
    }
    const Bytes packed = block.Finish();
    EXPECT_EQ(InflateEntry(packed, block.plain.size()).bytes, block.plain);
    for (const std::size_t limit : {std::size_t{32768 + 5}, std::size_t{3 * 32768 - 2}}) {
        EXPECT_EQ(InflateEntry(packed, limit).bytes, Bytes(block.plain.begin(), block.plain.begin() + limit)) << limit;
    }
}

TEST(Inflate, HandsOverFullWindowsThenTheLastPartOne) {
    // The data end exactly with the final block: full windows, then the rest.
    const Bytes input = SampleText(3 * 32768 + 1234, 8);
    const Decoded decoded = InflateEntry(RawDeflate(input, 9), input.size());
    EXPECT_EQ(decoded.bytes, input);
    EXPECT_EQ(decoded.puts, (std::vector<std::size_t>{32768, 32768, 32768, 1234}));

    const Bytes exact = SampleText(2 * 32768, 8);
    EXPECT_EQ(InflateEntry(RawDeflate(exact, 9), exact.size()).puts, (std::vector<std::size_t>{32768, 32768}));
}

TEST(Inflate, StopsAtTheUncompressedSize) {
    const Bytes input = SampleText(50000, 2);
    const Decoded decoded = InflateEntry(RawDeflate(input, 6), 40000);
    EXPECT_EQ(decoded.bytes, Bytes(input.begin(), input.begin() + 40000));
}

TEST(Inflate, EmptyAndSingleCodeBlocks) {
    // A final fixed block holding only the end-of-block code produces nothing.
    BitWriter empty;
    empty.Put(1, 1);
    empty.Put(1, 2);
    empty.Put(0, 7);
    EXPECT_TRUE(InflateEntry(empty.Finish(), 10).bytes.empty());

    // zlib codes a run of one byte with a single distance code.
    const Bytes run(100000, 'x');
    EXPECT_EQ(InflateEntry(RawDeflate(run, 9), run.size()).bytes, run);
}

TEST(Inflate, MalformedStreamsStopQuietly) {
    const Bytes input = Sample();
    const Bytes good = RawDeflate(input, 6);

    BitWriter reserved;  // block type 3 does not exist
    reserved.Put(1, 1);
    reserved.Put(3, 2);
    reserved.Put(0xFFFF, 16);
    EXPECT_TRUE(InflateEntry(reserved.Finish(), 100).bytes.empty());

    BitWriter stored;  // stored block whose length check fails
    stored.Put(1, 1);
    stored.Put(0, 2);
    stored.Put(0, 5);
    stored.Put(5, 16);
    stored.Put(5, 16);
    EXPECT_TRUE(InflateEntry(stored.Finish(), 100).bytes.empty());

    BitWriter farBack;  // fixed block: literal 'a', then a copy from 2 bytes back
    farBack.Put(1, 1);
    farBack.Put(1, 2);
    farBack.Put(Reversed(0x30 + 'a', 8), 8);
    farBack.Put(Reversed(1, 7), 7);  // length 3
    farBack.Put(Reversed(1, 5), 5);  // distance 2
    const Decoded far = InflateEntry(farBack.Finish(), 100);
    EXPECT_EQ(far.bytes, Bytes{'a'});

    for (const std::size_t keep : {std::size_t{0}, std::size_t{1}, good.size() / 2, good.size() - 8}) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(keep));
        EXPECT_LT(InflateEntry(cut, input.size()).bytes.size(), input.size()) << "kept " << keep;
    }
    EXPECT_TRUE(InflateEntry(good, input.size()).messages.empty());
}

}  // namespace
}  // namespace pelorin::test
