// Table-driven decoding of prefix codes read least-significant bit first: a root
// table indexed by the next few bits, with second-level tables for longer codes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "update/unzip/BitReader.h"

namespace pelorin {

// Longest code length any decoder accepts (the implode trees go up to 16).
constexpr unsigned kMaxCodeLength = 16;
// Largest alphabet of any code (the deflate literal/length code).
constexpr unsigned kMaxAlphabet = 288;

struct TableEntry {
    enum class Kind : std::uint8_t { Invalid, Symbol, Link };
    std::uint16_t value = 0;  // symbol, or offset of the second-level table
    std::uint8_t bits = 0;    // code length, or index bits of the second-level table
    Kind kind = Kind::Invalid;
};

enum class TableStatus {
    Ok,
    Invalid,   // over-subscribed lengths, or an incomplete set where none is allowed
    TooLarge,  // the tables do not fit in the storage given
};

enum class Completeness {
    Complete,          // the lengths must fill the code space exactly
    AllowSingleOrNone  // also accept no code at all, or one code of one bit
};

// Fills entries[0..capacity) from code lengths (0 = symbol unused), assigning
// codes canonically: shorter codes first, equal lengths in symbol order. When filled
// is given, it receives the number of entries in use (root and second-level tables).
TableStatus BuildDecodingTable(const std::uint8_t* lengths, unsigned symbolCount, unsigned rootBits, Completeness rule,
                               TableEntry* entries, std::size_t capacity, std::size_t* filled = nullptr);

// Helpers of BuildPrefixTable.
inline std::uint32_t ReverseCode(std::uint32_t code, unsigned length) {
    std::uint32_t reversed = 0;
    for (unsigned i = 0; i < length; ++i) {
        reversed = (reversed << 1) | (code & 1);
        code >>= 1;
    }
    return reversed;
}

template <class Entry>
void FillEntries(Entry* entries, std::size_t count, const Entry& entry) {
    for (std::size_t i = 0; i < count; ++i) entries[i] = entry;
}

// BuildDecodingTable for entries of any type: make(kind, value, bits) gives the entry of a
// symbol, of a link to a second-level table, or of no code (value and bits 0).
template <class Entry, class Make>
TableStatus BuildPrefixTable(const std::uint8_t* lengths, unsigned symbolCount, unsigned rootBits, Completeness rule,
                             Entry* entries, std::size_t capacity, std::size_t* filled, Make make) {
    const std::size_t rootSize = std::size_t{1} << rootBits;
    if (symbolCount > kMaxAlphabet) return TableStatus::Invalid;
    if (rootSize > capacity) return TableStatus::TooLarge;
    unsigned count[kMaxCodeLength + 1] = {};
    for (unsigned s = 0; s < symbolCount; ++s) {
        if (lengths[s] > kMaxCodeLength) return TableStatus::Invalid;
        ++count[lengths[s]];
    }
    count[0] = 0;

    // Kraft sum: reject over-subscribed sets, and incomplete ones unless allowed.
    std::int32_t left = 1;
    unsigned codes = 0;
    unsigned maxLength = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        left = (left << 1) - static_cast<std::int32_t>(count[len]);
        if (left < 0) return TableStatus::Invalid;
        codes += count[len];
        maxLength = count[len] != 0 ? len : maxLength;
    }
    if (left > 0) {
        const bool tolerated = rule == Completeness::AllowSingleOrNone && (codes == 0 || (codes == 1 && count[1] == 1));
        if (!tolerated) return TableStatus::Invalid;
    }
    const Entry invalid = make(TableEntry::Kind::Invalid, 0, 0);
    FillEntries(entries, rootSize, invalid);

    // First canonical code of each length, and the symbols sorted by length.
    std::uint32_t nextCode[kMaxCodeLength + 2] = {};
    unsigned offset[kMaxCodeLength + 2] = {};
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        nextCode[len + 1] = (nextCode[len] + count[len]) << 1;
        offset[len + 1] = offset[len] + count[len];
    }
    std::uint16_t sorted[kMaxAlphabet];
    for (unsigned s = 0; s < symbolCount; ++s) {
        if (lengths[s] != 0) sorted[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);
    }

    const std::uint32_t rootMask = static_cast<std::uint32_t>(rootSize - 1);
    std::size_t used = rootSize;
    std::uint32_t currentPrefix = ~std::uint32_t{0};
    std::size_t subtable = 0;
    unsigned subBits = 0;
    for (unsigned i = 0; i < codes; ++i) {
        const unsigned symbol = sorted[i];
        const unsigned len = lengths[symbol];
        const std::uint32_t reversed = ReverseCode(nextCode[len]++, len);
        const Entry entry = make(TableEntry::Kind::Symbol, symbol, len);
        if (len <= rootBits) {
            for (std::uint32_t at = reversed; at < rootSize; at += 1u << len) entries[at] = entry;
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
                if (room <= 0) break;
                ++subBits;
                room <<= 1;
            }
            const std::size_t size = std::size_t{1} << subBits;
            if (used + size > capacity || used > 0xFFFF) return TableStatus::TooLarge;
            subtable = used;
            used += size;
            FillEntries(entries + subtable, size, invalid);
            entries[prefix] = make(TableEntry::Kind::Link, static_cast<unsigned>(subtable), subBits);
            currentPrefix = prefix;
        }
        if (len - rootBits > subBits) return TableStatus::Invalid;
        for (std::uint32_t at = reversed >> rootBits; at < (1u << subBits); at += 1u << (len - rootBits)) {
            entries[subtable + at] = entry;
        }
        --count[len];
    }
    if (filled) *filled = used;
    return TableStatus::Ok;
}

// Decodes one symbol; invertBits is XORed onto the input bits first (the implode
// codes are the bitwise complement of canonical ones). Returns -1 for a bit
// pattern that is no code.
inline TableEntry LookUpSymbol(std::uint32_t bits, const TableEntry* entries, unsigned rootBits) {
    TableEntry entry = entries[bits & ((1u << rootBits) - 1)];
    if (entry.kind == TableEntry::Kind::Link) {
        entry = entries[entry.value + ((bits >> rootBits) & ((1u << entry.bits) - 1))];
    }
    return entry;
}

inline int DecodeSymbol(BitReader& in, const TableEntry* entries, unsigned rootBits, std::uint32_t invertBits = 0) {
    const TableEntry entry = LookUpSymbol(in.Peek(kMaxCodeLength) ^ invertBits, entries, rootBits);
    if (entry.kind != TableEntry::Kind::Symbol) return -1;
    in.Drop(entry.bits);
    return entry.value;
}

// A decoding table with fixed storage; Capacity must cover the worst complete
// code the caller accepts (root entries plus every second-level table).
template <std::size_t Capacity>
class DecodingTable {
public:
    explicit DecodingTable(unsigned rootBits) : rootBits_(rootBits) {}

    TableStatus Build(const std::uint8_t* lengths, unsigned symbolCount, Completeness rule) {
        return BuildDecodingTable(lengths, symbolCount, rootBits_, rule, entries_.data(), Capacity);
    }

    int Decode(BitReader& in, std::uint32_t invertBits = 0) const {
        return DecodeSymbol(in, entries_.data(), rootBits_, invertBits);
    }

    // The same from a cursor holding at least kMaxCodeLength bits.
    int Decode(BitCursor& in, std::uint32_t invertBits = 0) const {
        const auto bits = static_cast<std::uint32_t>(in.bits) ^ invertBits;
        const TableEntry entry = LookUpSymbol(bits, entries_.data(), rootBits_);
        if (entry.kind != TableEntry::Kind::Symbol) return -1;
        in.Drop(entry.bits);
        return entry.value;
    }

private:
    unsigned rootBits_;
    std::array<TableEntry, Capacity> entries_{};
};

}  // namespace pelorin
