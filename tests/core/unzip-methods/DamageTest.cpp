// Damaged and truncated data for every method: decoding ends, never beyond the
// entry's size, and an archive shorter than its entry raises the engine's error.
#include <gtest/gtest.h>

#include <zlib.h>

#include "tests/core/unzip-methods/ZipFile.h"
#include "tests/core/unzip-methods/encoders/ImplodeEncoder.h"
#include "tests/core/unzip-methods/encoders/ShrinkEncoder.h"
#include "update/unzip/Decoders.h"

namespace pelorin::test {
namespace {

struct Sample {
    const char* name;
    std::uint16_t method;
    std::uint16_t flags;
    Bytes data;
    Bytes expected;
};

Bytes RawDeflate(const Bytes& input) {
    uLongf size = compressBound(static_cast<uLong>(input.size()));
    Bytes wrapped(size);
    EXPECT_EQ(compress2(wrapped.data(), &size, input.data(), static_cast<uLong>(input.size()), 9), Z_OK);
    return Bytes(wrapped.begin() + 2, wrapped.begin() + static_cast<std::ptrdiff_t>(size) - 4);  // drop zlib's frame
}

std::vector<Sample> Samples() {
    const Bytes text = SampleText(40000, 11);
    std::vector<Sample> samples;
    samples.push_back({"shrink", 1, 0, Shrink(text).data, text});
    // Reduce: the legacy archives' entries, real encoder output.
    for (int factor = 1; factor <= 4; ++factor) {
        const auto entries = ReadZip(ReadFile(FixturePath("sc-reduce" + std::to_string(factor) + ".zip")));
        for (const ZipEntry& entry : entries) {
            if (entry.method == factor + 1 && entry.name == "TEST.EXE") {
                samples.push_back({"reduce", entry.method, 0, entry.data,
                                   Decode(entry.method, 0, entry.data, entry.uncompressedSize)});
            }
        }
    }
    samples.push_back({"implode 4K", 6, 0, Implode(text, {false, false}), text});
    samples.push_back({"implode 8K 3 trees", 6, 6, Implode(text, {true, true}), text});
    samples.push_back({"deflate", 8, 0, RawDeflate(text), text});
    return samples;
}

std::uint32_t Next(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

TEST(DamagedData, SamplesDecodeIntact) {
    const auto samples = Samples();
    ASSERT_EQ(samples.size(), 8u);
    for (const Sample& sample : samples) {
        EXPECT_EQ(Decode(sample.method, sample.flags, sample.data, sample.expected.size()), sample.expected)
            << sample.name;
    }
}

TEST(DamagedData, TruncatedEntriesComeOutShort) {
    for (const Sample& sample : Samples()) {
        for (const std::size_t keep :
             {std::size_t{0}, std::size_t{1}, std::size_t{10}, sample.data.size() / 2, sample.data.size() - 16}) {
            const Bytes cut(sample.data.begin(), sample.data.begin() + static_cast<std::ptrdiff_t>(keep));
            const Bytes decoded = Decode(sample.method, sample.flags, cut, sample.expected.size());
            EXPECT_LT(decoded.size(), sample.expected.size()) << sample.name << " kept " << keep;
            EXPECT_NE(Crc32(decoded), Crc32(sample.expected)) << sample.name << " kept " << keep;
        }
    }
}

TEST(DamagedData, CorruptedBytesNeverOverrunTheEntry) {
    std::uint32_t state = 12345;
    for (const Sample& sample : Samples()) {
        int mismatches = 0;
        for (int trial = 0; trial < 60; ++trial) {
            Bytes damaged = sample.data;
            const int flips = 1 + static_cast<int>(Next(state) % 4);
            for (int i = 0; i < flips; ++i) {
                damaged[Next(state) % damaged.size()] ^= static_cast<std::uint8_t>(1 + Next(state) % 255);
            }
            const Bytes decoded = Decode(sample.method, sample.flags, damaged, sample.expected.size());
            ASSERT_LE(decoded.size(), sample.expected.size()) << sample.name;
            mismatches += decoded != sample.expected ? 1 : 0;
        }
        EXPECT_GT(mismatches, 40) << sample.name << ": the checksum would catch most damage";
    }
}

TEST(DamagedData, NoiseInEveryMethodEnds) {
    std::uint32_t seed = 99;
    for (const std::uint16_t method : {1, 2, 3, 4, 5, 6, 8}) {
        for (const std::uint16_t flags : {0, 2, 4, 6}) {
            for (const std::size_t size : {std::size_t{1}, std::size_t{40}, std::size_t{3000}}) {
                const Bytes noise = SampleNoise(size, ++seed);
                EXPECT_LE(Decode(method, flags, noise, 100000).size(), 100000u);
            }
        }
    }
}

TEST(DamagedData, ArchiveShorterThanTheEntryRaisesTheEnginesError) {
    for (const Sample& sample : Samples()) {
        const Bytes cut(sample.data.begin(), sample.data.begin() + static_cast<std::ptrdiff_t>(sample.data.size() / 3));
        MemoryInput input(cut, true);
        CollectingOutput output;
        Bytes window(kWindowBufferSize);
        DecodeJob job{sample.method, sample.flags, sample.data.size(), sample.expected.size()};
        EXPECT_THROW(DecodeEntry(job, input, output, window.data()), Exception) << sample.name;
    }
}

TEST(Dispatch, MethodsAndSizes) {
    for (std::uint16_t method = 0; method < 20; ++method) {
        EXPECT_EQ(IsDecoderMethod(method), (method >= 1 && method <= 6) || method == 8) << method;
    }
    // Stored and unknown methods, and empty entries, produce nothing and read nothing.
    const Bytes data = SampleNoise(100);
    for (const std::uint16_t method : {0, 7, 9, 12, 99}) {
        MemoryInput input(data);
        CollectingOutput output;
        Bytes window(kWindowBufferSize);
        DecodeEntry(DecodeJob{method, 0, data.size(), 100}, input, output, window.data());
        EXPECT_TRUE(output.bytes.empty());
        EXPECT_EQ(input.Fills(), 0);
    }
    EXPECT_TRUE(Decode(8, 0, data, 0).empty());
}

}  // namespace
}  // namespace pelorin::test
