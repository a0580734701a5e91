// The LZW decoder of shrunk entries. Each code's string is its prefix code's
// string plus one suffix byte; strings are spelled backwards on a stack.
#include "update/unzip/Unshrink.h"

#include <algorithm>
#include <cstring>

namespace pelorin {
namespace {

constexpr unsigned kControlCode = 256;
constexpr unsigned kFirstFreeCode = 257;
constexpr unsigned kCodeCount = 8192;
constexpr unsigned kInitialCodeSize = 9;
constexpr unsigned kMaxCodeSize = 13;
constexpr unsigned kStackSize = 8192;
// Decoded strings are gathered and handed to the output in pieces of this size.
constexpr std::size_t kGatherSize = 4096;

// Prefix slot values: a code number, or one of these markers.
constexpr std::uint16_t kFreeCode = 0xFFFF;
constexpr std::uint16_t kParentMark = 0x8000;  // set on used codes during a partial clear

// The code tables, laid over the engine's window buffer: prefixes, suffixes, stack.
class CodeTable {
public:
    explicit CodeTable(std::uint8_t* window)
        : prefixes_(window), suffixes_(window + 2 * kCodeCount), stack_(suffixes_ + kCodeCount) {
        for (unsigned code = 0; code < kCodeCount; ++code) {
            SetPrefix(code, code < kFirstFreeCode ? 0 : kFreeCode);
            suffixes_[code] = static_cast<std::uint8_t>(code);
        }
    }

    std::uint16_t Prefix(unsigned code) const {
        std::uint16_t value;
        std::memcpy(&value, prefixes_ + 2 * code, sizeof value);
        return value;
    }
    void SetPrefix(unsigned code, std::uint16_t value) { std::memcpy(prefixes_ + 2 * code, &value, sizeof value); }
    bool InUse(unsigned code) const { return code < kFirstFreeCode || Prefix(code) != kFreeCode; }

    void Add(unsigned code, unsigned prefix, std::uint8_t suffix) {
        SetPrefix(code, static_cast<std::uint16_t>(prefix));
        suffixes_[code] = suffix;
        highest_ = code > highest_ ? code : highest_;
    }

    // Spells code's string so that it ends at stack[end]; returns where it
    // starts, or kStackSize when the chain is broken or loops. The chain may
    // run through pending, the free code about to be defined as pendingPrefix's
    // string plus the first byte of this very string, that is pendingFirst.
    unsigned Spell(unsigned code, unsigned end, unsigned pending, unsigned pendingPrefix,
                   std::uint8_t pendingFirst) const {
        unsigned at = end;
        while (code >= kFirstFreeCode) {
            if (at == 0) return kStackSize;
            const std::uint16_t prefix = Prefix(code);
            if (prefix != kFreeCode) {
                stack_[at--] = suffixes_[code];
                code = prefix;
            } else if (code == pending) {
                stack_[at--] = pendingFirst;
                code = pendingPrefix;
            } else {
                return kStackSize;
            }
        }
        if (code == kControlCode) return kStackSize;
        stack_[at] = static_cast<std::uint8_t>(code);
        return at;
    }

    const std::uint8_t* Stack() const { return stack_; }

    // Frees every code from 257 up that is no other used code's prefix.
    void PartialClear() {
        for (unsigned code = kFirstFreeCode; code <= highest_; ++code) {
            const std::uint16_t prefix = Prefix(code);
            if (prefix == kFreeCode) continue;
            const unsigned parent = prefix & ~kParentMark;
            if (parent >= kFirstFreeCode) SetPrefix(parent, Prefix(parent) | kParentMark);
        }
        const unsigned highest = highest_;
        highest_ = kControlCode;
        for (unsigned code = kFirstFreeCode; code <= highest; ++code) {
            const std::uint16_t prefix = Prefix(code);
            if (prefix == kFreeCode) continue;
            if ((prefix & kParentMark) == 0) {
                SetPrefix(code, kFreeCode);
                continue;
            }
            SetPrefix(code, static_cast<std::uint16_t>(prefix & ~kParentMark));
            highest_ = code;
        }
    }

    // The lowest free code at or above from, or kCodeCount when the table is full.
    unsigned NextFree(unsigned from) const {
        while (from < kCodeCount && InUse(from)) ++from;
        return from;
    }

private:
    std::uint8_t* prefixes_;
    std::uint8_t* suffixes_;
    std::uint8_t* stack_;
    unsigned highest_ = kControlCode;  // no code above this one is in use
};

// Gathers the short strings, so that the output sees few large pieces.
class Gathered {
public:
    explicit Gathered(DecodeOutput& output) : output_(output) {}
    void Put(const std::uint8_t* data, std::size_t count) {
        if (held_ + count > kGatherSize) Flush();
        if (count > kGatherSize) {
            output_.Put(data, count);
            return;
        }
        std::memcpy(bytes_ + held_, data, count);
        held_ += count;
    }
    void Flush() {
        if (held_ > 0) output_.Put(bytes_, held_);
        held_ = 0;
    }

private:
    DecodeOutput& output_;
    std::uint8_t bytes_[kGatherSize];
    std::size_t held_ = 0;
};

void DecodeCodes(BitReader& in, Gathered& output, std::uint64_t uncompressedSize, CodeTable& table) {
    unsigned codeSize = kInitialCodeSize;
    unsigned nextFree = kFirstFreeCode;
    bool havePrevious = false;
    unsigned previous = 0;
    std::uint8_t previousFirst = 0;  // first byte of the previous code's string
    std::uint64_t produced = 0;

    while (produced < uncompressedSize) {
        const unsigned code = in.Get(codeSize);
        if (in.Exhausted()) return;
        if (code == kControlCode) {
            const unsigned subcode = in.Get(codeSize);
            if (in.Exhausted()) return;
            if (subcode == 1 && codeSize < kMaxCodeSize) {
                ++codeSize;
            } else if (subcode == 2) {
                table.PartialClear();
                nextFree = table.NextFree(kFirstFreeCode);
            } else {
                return;  // malformed: no such subcode
            }
            continue;
        }

        // The entry (previous, first byte of this string) is defined by this
        // code, and the string may already run through it. A code not yet
        // defined stands for that entry: the previous string plus its first byte.
        const unsigned pending = havePrevious && nextFree < kCodeCount ? nextFree : kCodeCount;
        unsigned current = code;
        if (!table.InUse(code)) {
            if (pending == kCodeCount) return;  // malformed: nothing this code could stand for
            current = pending;
        }
        const unsigned end = kStackSize - 1;
        const unsigned start = table.Spell(current, end, pending, previous, previousFirst);
        if (start >= kStackSize) return;  // malformed: broken or looping chain
        const std::uint8_t firstByte = table.Stack()[start];
        const std::uint64_t length = std::min<std::uint64_t>(end - start + 1, uncompressedSize - produced);
        output.Put(table.Stack() + start, static_cast<std::size_t>(length));
        produced += length;

        if (pending != kCodeCount) {
            table.Add(pending, previous, firstByte);
            nextFree = table.NextFree(pending + 1);
        }
        havePrevious = true;
        previous = current;
        previousFirst = firstByte;
    }
}

}  // namespace

void Unshrink(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint8_t* window) {
    static_assert(2 * kCodeCount + kCodeCount + kStackSize <= kWindowBufferSize, "tables exceed the window");
    CodeTable table(window);
    Gathered gathered(output);
    DecodeCodes(in, gathered, uncompressedSize, table);
    gathered.Flush();
}

}  // namespace pelorin
