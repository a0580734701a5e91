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
    }

    // Spells code's string so that it ends at stack[end]; returns where it
    // starts, or kStackSize when the chain is broken or loops.
    unsigned Spell(unsigned code, unsigned end) const {
        unsigned at = end;
        while (code >= kFirstFreeCode) {
            const std::uint16_t prefix = Prefix(code);
            if (prefix == kFreeCode || at == 0) {
                return kStackSize;
            }
            stack_[at--] = suffixes_[code];
            code = prefix;
        }
        if (code == kControlCode) {
            return kStackSize;
        }
        stack_[at] = static_cast<std::uint8_t>(code);
        return at;
    }

    const std::uint8_t* Stack() const { return stack_; }
    std::uint8_t* Stack() { return stack_; }

    // Frees every code from 257 up that is no other used code's prefix.
    void PartialClear() {
        for (unsigned code = kFirstFreeCode; code < kCodeCount; ++code) {
            const std::uint16_t prefix = Prefix(code);
            if (prefix == kFreeCode) {
                continue;
            }
            const unsigned parent = prefix & ~kParentMark;
            if (parent >= kFirstFreeCode) {
                SetPrefix(parent, Prefix(parent) | kParentMark);
            }
        }
        for (unsigned code = kFirstFreeCode; code < kCodeCount; ++code) {
            const std::uint16_t prefix = Prefix(code);
            if (prefix == kFreeCode) {
                continue;
            }
            SetPrefix(code, (prefix & kParentMark) != 0 ? static_cast<std::uint16_t>(prefix & ~kParentMark)
                                                        : kFreeCode);
        }
    }

    // The lowest free code at or above from, or kCodeCount when the table is full.
    unsigned NextFree(unsigned from) const {
        while (from < kCodeCount && InUse(from)) {
            ++from;
        }
        return from;
    }

private:
    std::uint8_t* prefixes_;
    std::uint8_t* suffixes_;
    std::uint8_t* stack_;
};

}  // namespace

void Unshrink(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint8_t* window) {
    static_assert(2 * kCodeCount + kCodeCount + kStackSize <= kWindowBufferSize, "tables exceed the window");
    CodeTable table(window);
    unsigned codeSize = kInitialCodeSize;
    unsigned nextFree = kFirstFreeCode;
    bool havePrevious = false;
    unsigned previous = 0;
    std::uint64_t produced = 0;

    while (produced < uncompressedSize) {
        const unsigned code = in.Get(codeSize);
        if (in.Exhausted()) {
            return;
        }
        if (code == kControlCode) {
            const unsigned subcode = in.Get(codeSize);
            if (in.Exhausted()) {
                return;
            }
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

        // A code not yet defined stands for the previous string plus its own first byte.
        unsigned start;
        unsigned end = kStackSize - 1;
        if (table.InUse(code)) {
            start = table.Spell(code, end);
        } else {
            if (!havePrevious) {
                return;
            }
            start = table.Spell(previous, end - 1);
            if (start < kStackSize) {
                table.Stack()[end] = table.Stack()[start];
            }
        }
        if (start >= kStackSize) {
            return;  // malformed: broken or looping chain
        }
        const std::uint8_t firstByte = table.Stack()[start];
        const std::uint64_t length =
            std::min<std::uint64_t>(end - start + 1, uncompressedSize - produced);
        output.Put(table.Stack() + start, static_cast<std::size_t>(length));
        produced += length;

        if (havePrevious && nextFree < kCodeCount) {
            table.Add(nextFree, previous, firstByte);
            nextFree = table.NextFree(nextFree + 1);
        }
        havePrevious = true;
        previous = code;
    }
}

}  // namespace pelorin
