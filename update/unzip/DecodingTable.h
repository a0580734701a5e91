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
    if (entry.kind != TableEntry::Kind::Symbol) {
        return -1;
    }
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
        if (entry.kind != TableEntry::Kind::Symbol) {
            return -1;
        }
        in.Drop(entry.bits);
        return entry.value;
    }

private:
    unsigned rootBits_;
    std::array<TableEntry, Capacity> entries_{};
};

}  // namespace pelorin
