// Building the two-level decoding tables from code lengths, with the space
// check that keeps every table inside its fixed storage.
#include "update/unzip/DecodingTable.h"

namespace pelorin {
namespace {

std::uint32_t ReverseBits(std::uint32_t code, unsigned length) {
    std::uint32_t reversed = 0;
    for (unsigned i = 0; i < length; ++i) {
        reversed = (reversed << 1) | (code & 1);
        code >>= 1;
    }
    return reversed;
}

void Fill(TableEntry* entries, std::size_t count, const TableEntry& entry) {
    for (std::size_t i = 0; i < count; ++i) {
        entries[i] = entry;
    }
}

}  // namespace

TableStatus BuildDecodingTable(const std::uint8_t* lengths, unsigned symbolCount, unsigned rootBits, Completeness rule,
                               TableEntry* entries, std::size_t capacity, std::size_t* filled) {
    const std::size_t rootSize = std::size_t{1} << rootBits;
    if (symbolCount > kMaxAlphabet) {
        return TableStatus::Invalid;
    }
    if (rootSize > capacity) {
        return TableStatus::TooLarge;
    }
    unsigned count[kMaxCodeLength + 1] = {};
    for (unsigned s = 0; s < symbolCount; ++s) {
        if (lengths[s] > kMaxCodeLength) {
            return TableStatus::Invalid;
        }
        ++count[lengths[s]];
    }
    count[0] = 0;

    // Kraft sum: reject over-subscribed sets, and incomplete ones unless allowed.
    std::int32_t left = 1;
    unsigned codes = 0;
    unsigned maxLength = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        left = (left << 1) - static_cast<std::int32_t>(count[len]);
        if (left < 0) {
            return TableStatus::Invalid;
        }
        codes += count[len];
        maxLength = count[len] != 0 ? len : maxLength;
    }
    if (left > 0) {
        const bool tolerated = rule == Completeness::AllowSingleOrNone && (codes == 0 || (codes == 1 && count[1] == 1));
        if (!tolerated) {
            return TableStatus::Invalid;
        }
    }
    Fill(entries, rootSize, TableEntry{});

    // First canonical code of each length, and the symbols sorted by length.
    std::uint32_t nextCode[kMaxCodeLength + 2] = {};
    unsigned offset[kMaxCodeLength + 2] = {};
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        nextCode[len + 1] = (nextCode[len] + count[len]) << 1;
        offset[len + 1] = offset[len] + count[len];
    }
    std::uint16_t sorted[kMaxAlphabet];
    for (unsigned s = 0; s < symbolCount; ++s) {
        if (lengths[s] != 0) {
            sorted[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
        }
    }

    const std::uint32_t rootMask = static_cast<std::uint32_t>(rootSize - 1);
    std::size_t used = rootSize;
    std::uint32_t currentPrefix = ~std::uint32_t{0};
    std::size_t subtable = 0;
    unsigned subBits = 0;
    for (unsigned i = 0; i < codes; ++i) {
        const unsigned symbol = sorted[i];
        const unsigned len = lengths[symbol];
        const std::uint32_t reversed = ReverseBits(nextCode[len]++, len);
        if (len <= rootBits) {
            for (std::uint32_t at = reversed; at < rootSize; at += 1u << len) {
                entries[at] = TableEntry{static_cast<std::uint16_t>(symbol), static_cast<std::uint8_t>(len),
                                         TableEntry::Kind::Symbol};
            }
            --count[len];
            continue;
        }
        const std::uint32_t prefix = reversed & rootMask;
        if (prefix != currentPrefix) {
            // Size the second-level table so that the codes still to come fill it.
            subBits = len - rootBits;
            std::int32_t room = 1 << subBits;
            while (subBits + rootBits < maxLength) {
                room -= static_cast<std::int32_t>(count[subBits + rootBits]);
                if (room <= 0) {
                    break;
                }
                ++subBits;
                room <<= 1;
            }
            const std::size_t size = std::size_t{1} << subBits;
            if (used + size > capacity || used > 0xFFFF) {
                return TableStatus::TooLarge;
            }
            subtable = used;
            used += size;
            Fill(entries + subtable, size, TableEntry{});
            entries[prefix] = TableEntry{static_cast<std::uint16_t>(subtable), static_cast<std::uint8_t>(subBits),
                                         TableEntry::Kind::Link};
            currentPrefix = prefix;
        }
        if (len - rootBits > subBits) {
            return TableStatus::Invalid;
        }
        for (std::uint32_t at = reversed >> rootBits; at < (1u << subBits); at += 1u << (len - rootBits)) {
            entries[subtable + at] = TableEntry{static_cast<std::uint16_t>(symbol), static_cast<std::uint8_t>(len),
                                                TableEntry::Kind::Symbol};
        }
        --count[len];
    }
    if (filled) {
        *filled = used;
    }
    return TableStatus::Ok;
}

}  // namespace pelorin
