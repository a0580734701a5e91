// The reduce decoder: a byte-level probabilistic stage (follower sets) feeding
// a small state machine that expands escape sequences into window copies.
#include "update/unzip/Unreduce.h"

#include <cstring>

#include "update/unzip/SlidingWindow.h"

namespace pelorin {
namespace {

constexpr std::size_t kReduceWindowSize = 16384;
constexpr unsigned kMaxFollowers = 64;
constexpr std::uint8_t kEscape = 144;

// Bits needed to index a follower set of n entries (n >= 1).
unsigned IndexBits(unsigned n) {
    unsigned bits = 1;
    while ((1u << bits) < n) ++bits;
    return bits;
}

// The follower sets: for each byte value, the bytes most likely to come next.
class FollowerSets {
public:
    explicit FollowerSets(std::uint8_t* storage) : followers_(storage) {}

    // Reads the sets for byte values 255 down to 0. False when the input ran out.
    bool Read(BitReader& in) {
        std::memset(followers_, 0, 256 * kMaxFollowers);
        for (int value = 255; value >= 0; --value) {
            const unsigned count = in.Get(6);
            sizes_[value] = static_cast<std::uint8_t>(count);
            indexBits_[value] = static_cast<std::uint8_t>(count == 0 ? 0 : IndexBits(count));
            for (unsigned i = 0; i < count; ++i) {
                followers_[value * kMaxFollowers + i] = static_cast<std::uint8_t>(in.Get(8));
            }
        }
        return !in.Exhausted();
    }

    std::uint8_t Next(BitReader& in, std::uint8_t last) const {
        if (sizes_[last] == 0 || in.Get(1) == 1) return static_cast<std::uint8_t>(in.Get(8));
        // An index past the set's end picks an unused (zero) slot: damaged data.
        return followers_[last * kMaxFollowers + in.Get(indexBits_[last])];
    }

private:
    std::uint8_t* followers_;
    std::uint8_t sizes_[256] = {};
    std::uint8_t indexBits_[256] = {};
};

}  // namespace

void Unreduce(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, unsigned factor,
              std::uint8_t* window) {
    static_assert(2 * kReduceWindowSize <= kWindowBufferSize, "reduce needs two 16384-byte halves");
    if (factor < 1 || factor > 4) return;
    FollowerSets sets(window + kReduceWindowSize);
    if (!sets.Read(in)) return;
    const unsigned lengthMask = 0xFFu >> factor;
    const unsigned distanceShift = 8 - factor;
    const unsigned distanceMask = (1u << factor) - 1;

    SlidingWindow history(window, kReduceWindowSize, output, uncompressedSize, SlidingWindow::History::Zeros);
    enum class State { Literal, Escaped, ExtraLength, Distance } state = State::Literal;
    std::uint8_t last = 0;
    unsigned code = 0;
    unsigned length = 0;
    while (!history.Done()) {
        const std::uint8_t byte = sets.Next(in, last);
        if (in.Exhausted()) break;
        last = byte;
        switch (state) {
        case State::Literal:
            if (byte == kEscape) {
                state = State::Escaped;
            } else {
                history.PutByte(byte);
            }
            break;
        case State::Escaped:
            if (byte == 0) {
                history.PutByte(kEscape);
                state = State::Literal;
                break;
            }
            code = byte;
            length = byte & lengthMask;
            state = length == lengthMask ? State::ExtraLength : State::Distance;
            break;
        case State::ExtraLength:
            length += byte;
            state = State::Distance;
            break;
        case State::Distance: {
            const std::size_t distance = ((code >> distanceShift) & distanceMask) * 256 + byte + 1;
            history.Copy(distance, length + 3);
            state = State::Literal;
            break;
        }
        }
    }
    history.Finish();
}

}  // namespace pelorin
