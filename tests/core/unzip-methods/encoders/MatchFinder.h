// Test-only longest-match search over a byte string, for the reduce and implode
// encoders; positions before the start may count as zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelorin::test {

struct Match {
    std::size_t length = 0;
    std::size_t distance = 0;
};

class MatchFinder {
public:
    // zeroHistory: this many zero bytes are taken to precede the input.
    MatchFinder(const std::vector<std::uint8_t>& input, std::size_t maxDistance, std::size_t maxLength,
                std::size_t zeroHistory = 0);

    // Longest match at position (at least 3 bytes long, else length 0); then
    // position and the ones before it are entered into the search structure.
    Match Find(std::size_t position);
    void Skip(std::size_t position);

private:
    std::uint8_t At(std::size_t index) const;  // index into zeros + input
    std::uint32_t Hash(std::size_t index) const;
    void Insert(std::size_t index);

    const std::vector<std::uint8_t>& input_;
    std::size_t maxDistance_;
    std::size_t maxLength_;
    std::size_t zeros_;
    std::size_t inserted_ = 0;  // indices below this are in the chains
    std::vector<std::int64_t> head_;
    std::vector<std::int64_t> previous_;
};

}  // namespace pelorin::test
