// Data from the test-only encoders decodes back to the original: shrink with
// size steps and partial clears, reduce with all four factors, implode in all
// four dictionary and tree combinations.
#include <gtest/gtest.h>

#include "tests/core/unzip-methods/TestIO.h"
#include "tests/core/unzip-methods/encoders/ImplodeEncoder.h"
#include "tests/core/unzip-methods/encoders/ReduceEncoder.h"
#include "tests/core/unzip-methods/encoders/ShrinkEncoder.h"

namespace pelorin::test {
namespace {

Bytes Mixed(std::size_t size) {
    Bytes data = SampleText(size / 2, 7);
    const Bytes noise = SampleNoise(size - data.size(), 9);
    data.insert(data.end(), noise.begin(), noise.end());
    return data;
}

TEST(ShrinkRoundTrip, GrowsCodesAndClearsWhenTheTableFills) {
    const Bytes input = Mixed(300000);
    const ShrinkResult shrunk = Shrink(input);
    EXPECT_EQ(shrunk.sizeSteps, 4u);
    EXPECT_GT(shrunk.partialClears, 2u);
    EXPECT_EQ(Decode(1, 0, shrunk.data, input.size()), input);
}

TEST(ShrinkRoundTrip, FrequentPartialClearsReassignFreedCodes) {
    // Clearing every few codes keeps freeing leaves and handing their numbers
    // out again from the lowest free code upward.
    for (const std::size_t every : {1u, 2u, 7u, 100u}) {
        const Bytes input = SampleText(8000, static_cast<std::uint32_t>(every));
        ShrinkOptions options;
        options.clearEvery = every;
        const ShrinkResult shrunk = Shrink(input, options);
        EXPECT_GT(shrunk.partialClears, 0u);
        EXPECT_EQ(Decode(1, 0, shrunk.data, input.size()), input) << "clear every " << every;
    }
}

TEST(ShrinkRoundTrip, RepeatedStringsUseCodesNotYetDefined) {
    const Bytes input(5000, 'a');  // aaaa... is coded almost entirely with just-defined codes
    EXPECT_EQ(Decode(1, 0, Shrink(input).data, input.size()), input);
}

TEST(ReduceRoundTrip, AllFactors) {
    const Bytes input = Mixed(120000);
    for (unsigned factor = 1; factor <= 4; ++factor) {
        ReduceOptions options;
        options.factor = factor;
        const Bytes reduced = Reduce(input, options);
        EXPECT_LT(reduced.size(), input.size());
        EXPECT_EQ(Decode(static_cast<std::uint16_t>(factor + 1), 0, reduced, input.size()), input)
            << "factor " << factor;
    }
}

TEST(ReduceRoundTrip, CopiesBeforeTheStartReadZeros) {
    Bytes input(40, 0);
    const Bytes text = SampleText(3000);
    input.insert(input.end(), text.begin(), text.end());
    for (unsigned factor = 1; factor <= 4; ++factor) {
        ReduceOptions options;
        options.factor = factor;
        options.matchBeforeStart = true;
        const Bytes reduced = Reduce(input, options);
        options.matchBeforeStart = false;
        ASSERT_NE(reduced, Reduce(input, options)) << "no copy reached before the start";
        EXPECT_EQ(Decode(static_cast<std::uint16_t>(factor + 1), 0, reduced, input.size()), input);
    }
}

TEST(ReduceRoundTrip, EscapeByteAndEmptyFollowerSets) {
    Bytes input = SampleNoise(20000, 3);
    input.insert(input.end(), 300, 144);  // runs of the escape byte itself
    ReduceOptions options;
    options.maxFollowers = 0;  // every byte sent as 8 bits
    EXPECT_EQ(Decode(5, 0, Reduce(input, options), input.size()), input);
    options.maxFollowers = 1;
    EXPECT_EQ(Decode(5, 0, Reduce(input, options), input.size()), input);
}

TEST(ImplodeRoundTrip, BothDictionariesWithTwoOrThreeTrees) {
    const Bytes input = Mixed(150000);
    for (const bool large : {false, true}) {
        for (const bool literalTree : {false, true}) {
            const ImplodeOptions options{large, literalTree};
            const Bytes imploded = Implode(input, options);
            EXPECT_EQ(Decode(6, ImplodeFlags(options), imploded, input.size()), input)
                << "8K " << large << " literal tree " << literalTree;
        }
    }
}

TEST(ImplodeRoundTrip, LargeEntriesUseEightDistanceLookupBits) {
    // Noise with sparse repeats keeps the compressed size above 200000 bytes.
    Bytes input = SampleNoise(260000, 5);
    const Bytes text = SampleText(60000, 5);
    input.insert(input.end(), text.begin(), text.end());
    for (const bool literalTree : {false, true}) {
        const ImplodeOptions options{true, literalTree};
        const Bytes imploded = Implode(input, options);
        ASSERT_GT(imploded.size(), 200000u);
        EXPECT_EQ(Decode(6, ImplodeFlags(options), imploded, input.size()), input);
    }
}

}  // namespace
}  // namespace pelorin::test
