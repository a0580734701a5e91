// Test-only implode encoder. Codes are assigned the way the format note lays
// out: lengths sorted ascending, codes counted up from the longest, bits
// reversed; so this file does not share the decoder's shortcut.
#include "tests/core/unzip-methods/encoders/ImplodeEncoder.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>

#include "tests/core/unzip-methods/encoders/BitWriter.h"
#include "tests/core/unzip-methods/encoders/MatchFinder.h"

namespace pelorin::test {
namespace {

constexpr unsigned kMaxBits = 16;

struct Token {
    bool literal;
    std::uint8_t byte;
    std::size_t length;
    std::size_t distance;
};

// Huffman code lengths with every symbol present, capped at kMaxBits by
// flattening the counts until the longest code fits.
std::vector<unsigned> CodeLengths(std::vector<std::size_t> counts) {
    const std::size_t n = counts.size();
    for (;;) {
        std::vector<std::size_t> weight(counts);
        std::vector<int> parent(2 * n, -1);
        using Node = std::pair<std::size_t, std::size_t>;
        std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
        for (std::size_t i = 0; i < n; ++i) {
            queue.push({std::max<std::size_t>(counts[i], 1), i});
        }
        std::size_t next = n;
        while (queue.size() > 1) {
            const Node a = queue.top();
            queue.pop();
            const Node b = queue.top();
            queue.pop();
            parent[a.second] = static_cast<int>(next);
            parent[b.second] = static_cast<int>(next);
            queue.push({a.first + b.first, next++});
        }
        std::vector<unsigned> lengths(n, 0);
        unsigned longest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            for (int p = parent[i]; p >= 0; p = parent[static_cast<std::size_t>(p)]) ++lengths[i];
            longest = std::max(longest, lengths[i]);
        }
        if (longest <= kMaxBits) return lengths;
        for (auto& count : counts) count = (count >> 1) | 1;
    }
}

// The note's construction; returns each symbol's code, ready to send LSB first.
std::vector<std::uint32_t> ShannonFanoCodes(const std::vector<unsigned>& lengths) {
    std::vector<std::size_t> order(lengths.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return lengths[a] < lengths[b]; });
    std::vector<std::uint32_t> codes(lengths.size());
    std::uint32_t code = 0;
    std::uint32_t increment = 0;
    unsigned lastLength = 0;
    for (std::size_t i = order.size(); i-- > 0;) {
        code += increment;
        const unsigned length = lengths[order[i]];
        if (length != lastLength) {
            lastLength = length;
            increment = 1u << (16 - length);
        }
        // The 16-bit code's top `length` bits, reversed for LSB-first sending.
        codes[order[i]] = Reversed(code >> (16 - length), length);
    }
    return codes;
}

void PutTree(BitWriter& out, const std::vector<unsigned>& lengths) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < lengths.size();) {
        std::size_t run = 1;
        while (i + run < lengths.size() && run < 16 && lengths[i + run] == lengths[i]) ++run;
        bytes.push_back(static_cast<std::uint8_t>(((run - 1) << 4) | (lengths[i] - 1)));
        i += run;
    }
    out.Put(static_cast<std::uint32_t>(bytes.size() - 1), 8);
    for (const std::uint8_t byte : bytes) out.Put(byte, 8);
}

struct Tree {
    std::vector<unsigned> lengths;
    std::vector<std::uint32_t> codes;

    explicit Tree(const std::vector<std::size_t>& counts)
        : lengths(CodeLengths(counts)), codes(ShannonFanoCodes(lengths)) {}
    void Put(BitWriter& out, std::size_t symbol) const { out.Put(codes[symbol], lengths[symbol]); }
};

}  // namespace

std::uint16_t ImplodeFlags(const ImplodeOptions& options) {
    return static_cast<std::uint16_t>((options.largeDictionary ? 2 : 0) | (options.literalTree ? 4 : 0));
}

std::vector<std::uint8_t> Implode(const std::vector<std::uint8_t>& input, const ImplodeOptions& options) {
    const unsigned lowBits = options.largeDictionary ? 7 : 6;
    const std::size_t minimum = options.literalTree ? 3 : 2;
    const std::size_t maxLength = minimum + 63 + 255;
    MatchFinder finder(input, std::size_t{64} << lowBits, maxLength);

    std::vector<Token> tokens;
    std::vector<std::size_t> literalCounts(256, 0), lengthCounts(64, 0), distanceCounts(64, 0);
    for (std::size_t at = 0; at < input.size();) {
        const Match match = finder.Find(at);
        if (match.length < std::max<std::size_t>(minimum, 3)) {
            tokens.push_back({true, input[at], 0, 0});
            ++literalCounts[input[at]];
            ++at;
            continue;
        }
        tokens.push_back({false, 0, match.length, match.distance});
        ++lengthCounts[std::min<std::size_t>(match.length - minimum, 63)];
        ++distanceCounts[(match.distance - 1) >> lowBits];
        for (std::size_t i = 1; i < match.length; ++i) finder.Skip(at + i);
        at += match.length;
    }

    const Tree literals(literalCounts);
    const Tree lengths(lengthCounts);
    const Tree distances(distanceCounts);
    BitWriter out;
    if (options.literalTree) PutTree(out, literals.lengths);
    PutTree(out, lengths.lengths);
    PutTree(out, distances.lengths);
    for (const Token& token : tokens) {
        if (token.literal) {
            out.Put(1, 1);
            if (options.literalTree) {
                literals.Put(out, token.byte);
            } else {
                out.Put(token.byte, 8);
            }
            continue;
        }
        out.Put(0, 1);
        out.Put(static_cast<std::uint32_t>(token.distance - 1), lowBits);
        distances.Put(out, (token.distance - 1) >> lowBits);
        const std::size_t length = token.length - minimum;
        lengths.Put(out, std::min<std::size_t>(length, 63));
        if (length >= 63) out.Put(static_cast<std::uint32_t>(length - 63), 8);
    }
    return out.Finish();
}

}  // namespace pelorin::test
