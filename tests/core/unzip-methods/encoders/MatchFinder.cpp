// Test-only hash-chain match finder.
#include "tests/core/unzip-methods/encoders/MatchFinder.h"

#include <algorithm>

namespace pelorin::test {
namespace {
constexpr unsigned kHashBits = 15;
constexpr int kMaxProbes = 48;
}  // namespace

MatchFinder::MatchFinder(const std::vector<std::uint8_t>& input, std::size_t maxDistance, std::size_t maxLength,
                         std::size_t zeroHistory)
    : input_(input),
      maxDistance_(maxDistance),
      maxLength_(maxLength),
      zeros_(zeroHistory),
      head_(std::size_t{1} << kHashBits, -1),
      previous_(zeroHistory + input.size(), -1) {}

std::uint8_t MatchFinder::At(std::size_t index) const { return index < zeros_ ? 0 : input_[index - zeros_]; }

std::uint32_t MatchFinder::Hash(std::size_t index) const {
    const std::uint32_t value = (std::uint32_t{At(index)} << 16) | (std::uint32_t{At(index + 1)} << 8) | At(index + 2);
    return (value * 2654435761u) >> (32 - kHashBits);
}

void MatchFinder::Insert(std::size_t index) {
    if (index + 3 > zeros_ + input_.size()) return;
    const std::uint32_t hash = Hash(index);
    previous_[index] = head_[hash];
    head_[hash] = static_cast<std::int64_t>(index);
}

Match MatchFinder::Find(std::size_t position) {
    const std::size_t here = zeros_ + position;
    while (inserted_ < here) Insert(inserted_++);
    Match best;
    const std::size_t end = zeros_ + input_.size();
    if (here + 3 > end) {
        Skip(position);
        return best;
    }
    const std::size_t limit = std::min(maxLength_, end - here);
    std::int64_t candidate = head_[Hash(here)];
    for (int probe = 0; probe < kMaxProbes && candidate >= 0; ++probe) {
        const std::size_t from = static_cast<std::size_t>(candidate);
        if (here - from > maxDistance_) break;
        std::size_t length = 0;
        while (length < limit && At(from + length) == At(here + length)) ++length;
        if (length > best.length) {
            best.length = length;
            best.distance = here - from;
            if (length == limit) break;
        }
        candidate = previous_[from];
    }
    if (best.length < 3) {
        best = Match{};
    }
    Skip(position);
    return best;
}

void MatchFinder::Skip(std::size_t position) {
    const std::size_t here = zeros_ + position;
    while (inserted_ <= here) Insert(inserted_++);
}

}  // namespace pelorin::test
