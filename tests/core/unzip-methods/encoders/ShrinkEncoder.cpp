// Test-only shrink encoder. The decoder adds the entry (previous code, first
// byte of the current string) only when the current code arrives, so the
// encoder keeps that entry pending until it sends its next code.
#include "tests/core/unzip-methods/encoders/ShrinkEncoder.h"

#include <unordered_map>

#include "tests/core/unzip-methods/encoders/BitWriter.h"

namespace pelorin::test {
namespace {

constexpr unsigned kFirstFree = 257;
constexpr unsigned kCodes = 8192;

class Dictionary {
public:
    Dictionary() : prefix_(kCodes, kUnused), suffix_(kCodes, 0) {}

    bool Used(unsigned code) const { return code < kFirstFree || prefix_[code] != kUnused; }

    int Child(unsigned code, std::uint8_t byte) const {
        const auto found = children_.find(Key(code, byte));
        return found == children_.end() ? -1 : static_cast<int>(found->second);
    }

    void Add(unsigned code, unsigned prefix, std::uint8_t byte) {
        prefix_[code] = prefix;
        suffix_[code] = byte;
        children_[Key(prefix, byte)] = code;
    }

    void PartialClear() {
        std::vector<bool> parent(kCodes, false);
        for (unsigned code = kFirstFree; code < kCodes; ++code) {
            if (Used(code) && prefix_[code] >= kFirstFree) parent[prefix_[code]] = true;
        }
        for (unsigned code = kFirstFree; code < kCodes; ++code) {
            if (Used(code) && !parent[code]) {
                const auto found = children_.find(Key(prefix_[code], suffix_[code]));
                if (found != children_.end() && found->second == code) children_.erase(found);
                prefix_[code] = kUnused;
            }
        }
    }

    unsigned NextFree(unsigned from) const {
        while (from < kCodes && Used(from)) ++from;
        return from;
    }

private:
    static constexpr unsigned kUnused = 0xFFFFFFFFu;
    static std::uint32_t Key(unsigned code, std::uint8_t byte) { return (code << 8) | byte; }

    std::vector<unsigned> prefix_;
    std::vector<std::uint8_t> suffix_;
    std::unordered_map<std::uint32_t, unsigned> children_;
};

}  // namespace

ShrinkResult Shrink(const std::vector<std::uint8_t>& input, const ShrinkOptions& options) {
    ShrinkResult result;
    BitWriter out;
    Dictionary dictionary;
    unsigned codeSize = 9;
    unsigned nextFree = kFirstFree;
    bool pending = false;  // the entry the decoder will add on our next code
    unsigned pendingPrefix = 0;
    std::uint8_t pendingByte = 0;
    std::size_t codesSent = 0;

    std::size_t at = 0;
    while (at < input.size()) {
        // Longest string in the table, counting the pending entry at nextFree.
        unsigned code = input[at++];
        while (at < input.size()) {
            int child = dictionary.Child(code, input[at]);
            if (child < 0 && pending && nextFree < kCodes && code == pendingPrefix && input[at] == pendingByte) {
                child = static_cast<int>(nextFree);
            }
            if (child < 0) break;
            code = static_cast<unsigned>(child);
            ++at;
        }
        while (code >= (1u << codeSize)) {
            out.Put(256, codeSize);
            out.Put(1, codeSize);
            ++codeSize;
            ++result.sizeSteps;
        }
        out.Put(code, codeSize);
        ++codesSent;
        if (pending && nextFree < kCodes) {
            dictionary.Add(nextFree, pendingPrefix, pendingByte);
            nextFree = dictionary.NextFree(nextFree + 1);
        }
        pending = at < input.size();
        pendingPrefix = code;
        pendingByte = pending ? input[at] : 0;

        const bool full = nextFree >= kCodes;
        const bool interval = options.clearEvery != 0 && codesSent % options.clearEvery == 0;
        if (pending && ((options.clearWhenFull && full) || interval)) {
            out.Put(256, codeSize);
            out.Put(2, codeSize);
            dictionary.PartialClear();
            nextFree = dictionary.NextFree(kFirstFree);
            ++result.partialClears;
        }
    }
    result.data = out.Finish();
    return result;
}

}  // namespace pelorin::test
