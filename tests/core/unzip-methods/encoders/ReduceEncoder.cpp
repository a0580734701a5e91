// Test-only reduce encoder. Stage one turns the input into a byte stream with
// escape sequences for matches; stage two codes each byte through the follower
// set of the byte before it.
#include "tests/core/unzip-methods/encoders/ReduceEncoder.h"

#include <algorithm>
#include <array>

#include "tests/core/unzip-methods/encoders/BitWriter.h"
#include "tests/core/unzip-methods/encoders/MatchFinder.h"

namespace pelorin::test {
namespace {

constexpr std::uint8_t kEscape = 144;

unsigned IndexBits(unsigned n) {
    unsigned bits = 1;
    while ((1u << bits) < n) ++bits;
    return bits;
}

std::vector<std::uint8_t> EscapeStage(const std::vector<std::uint8_t>& input, const ReduceOptions& options) {
    const unsigned lengthMask = 0xFFu >> options.factor;
    const unsigned distanceShift = 8 - options.factor;
    const std::size_t maxDistance = std::size_t{256} << options.factor;
    const std::size_t maxLength = lengthMask + 255 + 3;
    MatchFinder finder(input, maxDistance, maxLength, options.matchBeforeStart ? maxDistance : 0);
    std::vector<std::uint8_t> stream;
    std::size_t at = 0;
    while (at < input.size()) {
        Match match = finder.Find(at);
        // A length-3 match with a high distance part of 0 would read as a literal escape.
        if (match.length == 3 && match.distance <= 256) match.length = 0;
        if (match.length == 0) {
            stream.push_back(input[at]);
            if (input[at] == kEscape) stream.push_back(0);
            ++at;
            continue;
        }
        const std::size_t high = (match.distance - 1) >> 8;
        const std::size_t lengthBits = std::min<std::size_t>(match.length - 3, lengthMask);
        stream.push_back(kEscape);
        stream.push_back(static_cast<std::uint8_t>((high << distanceShift) | lengthBits));
        if (lengthBits == lengthMask) stream.push_back(static_cast<std::uint8_t>(match.length - 3 - lengthMask));
        stream.push_back(static_cast<std::uint8_t>(match.distance - 1));
        for (std::size_t i = 1; i < match.length; ++i) finder.Skip(at + i);
        at += match.length;
    }
    return stream;
}

}  // namespace

std::vector<std::uint8_t> Reduce(const std::vector<std::uint8_t>& input, const ReduceOptions& options) {
    const std::vector<std::uint8_t> stream = EscapeStage(input, options);

    // Statistics of which byte follows which, starting after a zero byte.
    std::vector<std::array<std::size_t, 256>> follows(256);
    for (auto& row : follows) row.fill(0);
    std::uint8_t last = 0;
    for (const std::uint8_t byte : stream) {
        ++follows[last][byte];
        last = byte;
    }

    // For each byte the set size that costs fewest bits, filled by frequency.
    std::vector<std::vector<std::uint8_t>> sets(256);
    for (unsigned value = 0; value < 256; ++value) {
        std::vector<std::uint8_t> order(256);
        for (unsigned b = 0; b < 256; ++b) order[b] = static_cast<std::uint8_t>(b);
        const auto& row = follows[value];
        std::stable_sort(order.begin(), order.end(), [&](std::uint8_t a, std::uint8_t b) { return row[a] > row[b]; });
        std::size_t total = 0;
        for (const std::size_t count : row) total += count;
        std::size_t bestCost = total * 8;
        unsigned bestSize = 0;
        std::size_t covered = 0;
        for (unsigned n = 1; n <= options.maxFollowers && n <= 63; ++n) {
            covered += row[order[n - 1]];
            const std::size_t cost = covered * (1 + IndexBits(n)) + (total - covered) * 9 + 8 * n;
            if (cost < bestCost) {
                bestCost = cost;
                bestSize = n;
            }
        }
        sets[value].assign(order.begin(), order.begin() + bestSize);
    }

    BitWriter out;
    for (int value = 255; value >= 0; --value) {
        out.Put(static_cast<std::uint32_t>(sets[value].size()), 6);
        for (const std::uint8_t follower : sets[value]) out.Put(follower, 8);
    }
    last = 0;
    for (const std::uint8_t byte : stream) {
        const auto& set = sets[last];
        if (set.empty()) {
            out.Put(byte, 8);
        } else {
            const auto found = std::find(set.begin(), set.end(), byte);
            if (found == set.end()) {
                out.Put(1, 1);
                out.Put(byte, 8);
            } else {
                out.Put(0, 1);
                out.Put(static_cast<std::uint32_t>(found - set.begin()), IndexBits(static_cast<unsigned>(set.size())));
            }
        }
        last = byte;
    }
    return out.Finish();
}

}  // namespace pelorin::test
