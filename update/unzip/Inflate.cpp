// The inflate decoder: block headers, the code-length code of dynamic blocks, and the
// length/distance copies out of the window, with a fast loop while input and window allow.
#include "update/unzip/Inflate.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "update/unzip/DecodingTable.h"
#include "update/unzip/SlidingWindow.h"

namespace pelorin {
namespace {

constexpr std::size_t kInflateWindowSize = 32768;
constexpr unsigned kLiteralLookupBits = 10;
constexpr unsigned kDistanceLookupBits = 8;
constexpr unsigned kCodeLengthLookupBits = 7;

constexpr unsigned kEndOfBlock = 256;
constexpr unsigned kLiteralCodes = 288;
constexpr unsigned kDistanceCodes = 32;
constexpr unsigned kLongestCode = 15;

// Room for the worst complete code: the root entries plus second-level tables. Each of
// these serves at least two codes and has at most 2^(15 - lookup bits) entries.
constexpr std::size_t WorstTableSize(unsigned symbols, unsigned lookupBits) {
    return (std::size_t{1} << lookupBits) + symbols / 2 * (std::size_t{1} << (kLongestCode - lookupBits));
}
constexpr std::size_t kLiteralTableSize = WorstTableSize(kLiteralCodes, kLiteralLookupBits);
constexpr std::size_t kDistanceTableSize = WorstTableSize(kDistanceCodes, kDistanceLookupBits);
constexpr std::size_t kCodeLengthTableSize = 128;  // 19 symbols of at most 7 bits

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                             33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// Order in which a dynamic block lists the lengths of the code-length code.
constexpr std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

enum class Outcome { kContinue, kFinished, kStop, kOutOfMemory };

// A decoding-table entry that carries what the symbol means: a literal byte, the base and
// extra bits of a length or distance, the end of the block, a link to a second-level table,
// or no code. bits is the code length (for a link: the index bits of the table it points to).
struct Code {
    enum Op : std::uint8_t {
        kLiteral = 0x00,
        kBase = 0x10,  // plus the number of extra bits
        kLink = 0x20,
        kEnd = 0x40,
        kInvalid = 0x80,
    };
    std::uint16_t value;  // literal, base, or offset of the second-level table
    std::uint8_t bits;
    std::uint8_t op;
};
constexpr Code kNoCode{0, 0, Code::kInvalid};

enum class Alphabet { kLiteralLength, kDistance };

// What a symbol of the alphabet becomes in a Code.
constexpr Code Meaning(Alphabet alphabet, unsigned symbol, std::uint8_t bits) {
    if (alphabet == Alphabet::kDistance) {
        if (symbol >= 30) {
            return Code{0, bits, Code::kInvalid};
        }
        return Code{kDistanceBase[symbol], bits, static_cast<std::uint8_t>(Code::kBase | kDistanceExtra[symbol])};
    }
    if (symbol < kEndOfBlock) {
        return Code{static_cast<std::uint16_t>(symbol), bits, Code::kLiteral};
    }
    if (symbol == kEndOfBlock) {
        return Code{0, bits, Code::kEnd};
    }
    const unsigned lengthCode = symbol - 257;
    if (lengthCode >= 29) {
        return Code{0, bits, Code::kInvalid};
    }
    return Code{kLengthBase[lengthCode], bits, static_cast<std::uint8_t>(Code::kBase | kLengthExtra[lengthCode])};
}

// The meaning of every symbol, worked out once.
template <Alphabet alphabet, unsigned symbols>
constexpr std::array<Code, symbols> MakeMeanings() {
    std::array<Code, symbols> meanings{};
    for (unsigned s = 0; s < symbols; ++s) {
        meanings[s] = Meaning(alphabet, s, 0);
    }
    return meanings;
}

template <Alphabet alphabet, unsigned rootBits, std::size_t Capacity>
class CodeTable {
public:
    TableStatus Build(const std::uint8_t* lengths, unsigned symbolCount, Completeness rule) {
        TableEntry entries[Capacity];
        std::size_t filled = 0;
        const TableStatus status = BuildDecodingTable(lengths, symbolCount, rootBits, rule, entries, Capacity, &filled);
        if (status != TableStatus::kOk) {
            return status;
        }
        for (std::size_t i = 0; i < filled; ++i) {
            const TableEntry& entry = entries[i];
            switch (entry.kind) {
            case TableEntry::kSymbol:
                codes_[i] = kMeanings[entry.value];
                codes_[i].bits = entry.bits;
                break;
            case TableEntry::kLink: codes_[i] = Code{entry.value, entry.bits, Code::kLink}; break;
            case TableEntry::kInvalid: codes_[i] = kNoCode; break;
            }
        }
        return status;
    }

    // The entry for the code at the bottom of bits (at least kMaxCodeLength of them).
    Code Lookup(std::uint64_t bits) const {
        Code code = codes_[bits & ((1u << rootBits) - 1)];
        if (code.op == Code::kLink) {
            code = codes_[code.value + ((bits >> rootBits) & ((1u << code.bits) - 1))];
        }
        return code;
    }

    // Decodes and consumes one code through the careful reader; an invalid code consumes nothing.
    Code Decode(BitReader& in) const {
        const Code code = Lookup(in.Peek(kMaxCodeLength));
        if (code.op != Code::kInvalid) {
            in.Drop(code.bits);
        }
        return code;
    }

private:
    static constexpr unsigned kSymbols = alphabet == Alphabet::kDistance ? kDistanceCodes : kLiteralCodes;
    static constexpr std::array<Code, kSymbols> kMeanings = MakeMeanings<alphabet, kSymbols>();
    // Left unset: a lookup reaches only the entries the last build filled.
    Code codes_[Capacity];
};

struct BlockCodes {
    CodeTable<Alphabet::kLiteralLength, kLiteralLookupBits, kLiteralTableSize> literals;
    CodeTable<Alphabet::kDistance, kDistanceLookupBits, kDistanceTableSize> distances;
};

Outcome FromStatus(TableStatus status) {
    switch (status) {
    case TableStatus::kOk: return Outcome::kContinue;
    case TableStatus::kTooLarge: return Outcome::kOutOfMemory;
    case TableStatus::kInvalid: break;
    }
    return Outcome::kStop;
}

// Deflate tolerates a distance code with a single one-bit code or none at all;
// the literal/length code always holds the end-of-block code.
Outcome BuildCodes(BlockCodes& codes, const std::uint8_t* literalLengths, unsigned literalCount,
                   const std::uint8_t* distanceLengths, unsigned distanceCount) {
    const Outcome literal =
        FromStatus(codes.literals.Build(literalLengths, literalCount, Completeness::kAllowSingleOrNone));
    if (literal != Outcome::kContinue) {
        return literal;
    }
    return FromStatus(codes.distances.Build(distanceLengths, distanceCount, Completeness::kAllowSingleOrNone));
}

// The fixed codes are complete: building them cannot fail.
void BuildFixedCodes(BlockCodes& codes) {
    std::uint8_t literalLengths[kLiteralCodes];
    for (unsigned s = 0; s < kLiteralCodes; ++s) {
        literalLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    }
    std::uint8_t distanceLengths[kDistanceCodes];
    for (unsigned s = 0; s < kDistanceCodes; ++s) {
        distanceLengths[s] = 5;
    }
    BuildCodes(codes, literalLengths, kLiteralCodes, distanceLengths, kDistanceCodes);
}

// Built once for the whole program: small entries are mostly a single fixed block, and
// building the tables would cost more than decoding them.
const BlockCodes& FixedCodes() {
    static const BlockCodes codes = [] {
        BlockCodes built;
        BuildFixedCodes(built);
        return built;
    }();
    return codes;
}

Outcome ReadDynamicCodes(BitReader& in, BlockCodes& codes) {
    const unsigned literalCount = in.Get(5) + 257;
    const unsigned distanceCount = in.Get(5) + 1;
    const unsigned codeLengthCount = in.Get(4) + 4;
    if (literalCount > 286 || distanceCount > 30) {
        return Outcome::kStop;
    }
    std::uint8_t codeLengthLengths[19] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i) {
        codeLengthLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(in.Get(3));
    }
    DecodingTable<kCodeLengthTableSize> codeLengths(kCodeLengthLookupBits);
    const Outcome built = FromStatus(codeLengths.Build(codeLengthLengths, 19, Completeness::kComplete));
    if (built != Outcome::kContinue) {
        return built;
    }

    std::uint8_t lengths[kLiteralCodes + kDistanceCodes] = {};
    const unsigned total = literalCount + distanceCount;
    unsigned filled = 0;
    while (filled < total) {
        const int symbol = codeLengths.Decode(in);
        if (symbol < 0 || in.Exhausted()) {
            return Outcome::kStop;
        }
        if (symbol < 16) {
            lengths[filled++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t repeated = 0;
        unsigned repeat;
        if (symbol == 16) {
            if (filled == 0) {
                return Outcome::kStop;  // nothing to repeat
            }
            repeated = lengths[filled - 1];
            repeat = 3 + in.Get(2);
        } else if (symbol == 17) {
            repeat = 3 + in.Get(3);
        } else {
            repeat = 11 + in.Get(7);
        }
        if (filled + repeat > total) {
            return Outcome::kStop;
        }
        while (repeat-- > 0) {
            lengths[filled++] = repeated;
        }
    }
    if (lengths[kEndOfBlock] == 0) {
        return Outcome::kStop;  // a block could never end
    }
    return BuildCodes(codes, lengths, literalCount, lengths + literalCount, distanceCount);
}

// The longest stretch one step of the fast loop takes: a 15-bit length code with 5 extra
// bits and a 15-bit distance code with 13, 48 bits in all, within what a refill guarantees.
constexpr std::size_t kFastInputMargin = 16;
// A match is at most 258 bytes long.
constexpr std::size_t kMaxMatch = 258;

// Copies length bytes from distance back; source and target do not wrap around the window.
inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
    const std::uint8_t* from = out - distance;
    if (distance >= 8) {
        for (; length >= 8; length -= 8, out += 8, from += 8) {
            std::memcpy(out, from, 8);
        }
        std::memcpy(out, from, length);
    } else if (distance == 1) {
        std::memset(out, *from, length);
    } else {
        for (std::size_t i = 0; i < length; ++i) {
            out[i] = from[i];
        }
    }
}

enum class FastResult { kMore, kEndOfBlock, kStop };

// Decodes while the chunk holds kFastInputMargin bytes and the window has room for a
// whole match before its end and before the entry's size: no check of either inside.
// Every step has been decoded completely when it returns.
FastResult DecodeFast(BitReader& in, const BlockCodes& codes, SlidingWindow& history) {
    BitCursor cursor = in.Cursor();
    const std::uint8_t* const inputLimit = in.ChunkEnd() - kFastInputMargin;
    std::uint8_t* const base = history.Base();
    const std::size_t size = history.Size();
    std::uint8_t* const start = base + history.Position();
    std::uint8_t* const outputLimit = start + (history.Room() - kMaxMatch);
    const std::uint64_t producedBefore = history.Produced();
    std::uint8_t* out = start;
    FastResult result = FastResult::kMore;

    while (cursor.next <= inputLimit && out <= outputLimit) {
        cursor.Refill();
        Code code = codes.literals.Lookup(cursor.bits);
        cursor.Drop(code.bits);
        if (code.op == Code::kLiteral) {
            *out++ = static_cast<std::uint8_t>(code.value);
            continue;
        }
        if ((code.op & Code::kBase) == 0) {
            result = code.op == Code::kEnd ? FastResult::kEndOfBlock : FastResult::kStop;
            break;
        }
        unsigned extra = code.op & 0x0F;
        const std::size_t length = code.value + (cursor.bits & ((1u << extra) - 1));
        cursor.Drop(extra);
        code = codes.distances.Lookup(cursor.bits);
        if ((code.op & Code::kBase) == 0) {
            result = FastResult::kStop;
            break;
        }
        cursor.Drop(code.bits);
        extra = code.op & 0x0F;
        const std::size_t distance = code.value + (cursor.bits & ((1u << extra) - 1));
        cursor.Drop(extra);
        const std::size_t position = static_cast<std::size_t>(out - base);
        if (distance > producedBefore + (position - (start - base))) {
            result = FastResult::kStop;  // before the first byte of the entry
            break;
        }
        if (distance <= position) {
            CopyMatch(out, distance, length);
        } else {
            // The source starts near the end of the window and may run on at its start.
            const std::size_t tail = distance - position;
            const std::size_t first = length < tail ? length : tail;
            std::memmove(out, base + size - tail, first);
            if (length > first) {
                CopyMatch(out + first, distance, length - first);
            }
        }
        out += length;
    }
    in.Restore(cursor);
    history.Advance(static_cast<std::size_t>(out - start));
    return result;
}

Outcome DecodeCompressedBlock(BitReader& in, const BlockCodes& codes, SlidingWindow& history) {
    while (!history.Done()) {
        if (in.CursorReady(kFastInputMargin + 8) && history.Room() > kMaxMatch) {
            const FastResult fast = DecodeFast(in, codes, history);
            if (fast == FastResult::kEndOfBlock) {
                return Outcome::kContinue;
            }
            if (fast == FastResult::kStop) {
                return Outcome::kStop;
            }
            continue;
        }
        const Code code = codes.literals.Decode(in);
        if (code.op == Code::kInvalid || in.Exhausted()) {
            return Outcome::kStop;
        }
        if (code.op == Code::kLiteral) {
            history.PutByte(static_cast<std::uint8_t>(code.value));
            continue;
        }
        if (code.op == Code::kEnd) {
            return Outcome::kContinue;
        }
        const unsigned length = code.value + in.Get(code.op & 0x0F);
        const Code distanceCode = codes.distances.Decode(in);
        if (distanceCode.op == Code::kInvalid) {
            return Outcome::kStop;
        }
        const unsigned distance = distanceCode.value + in.Get(distanceCode.op & 0x0F);
        if (in.Exhausted() || !history.Copy(distance, length)) {
            return Outcome::kStop;
        }
    }
    return Outcome::kContinue;
}

// Stored bytes go from the input chunks to the window in bulk.
Outcome CopyStoredBlock(BitReader& in, SlidingWindow& history) {
    in.AlignToByte();
    const unsigned length = in.Get(16);
    const unsigned complement = in.Get(16);
    if (in.Exhausted() || (length ^ 0xFFFFu) != complement) {
        return Outcome::kStop;
    }
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(length, history.Left()));
    const std::size_t got =
        in.ReadBytes(wanted, [&history](const std::uint8_t* data, std::size_t n) { history.PutBytes(data, n); });
    return got == wanted ? Outcome::kContinue : Outcome::kStop;
}

}  // namespace

void Inflate(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint8_t* window) {
    static_assert(kInflateWindowSize <= kWindowBufferSize, "window exceeds the buffer");
    SlidingWindow history(window, kInflateWindowSize, output, uncompressedSize, SlidingWindow::History::kWrittenOnly);
    BlockCodes codes;
    bool last = false;
    Outcome outcome = Outcome::kContinue;
    while (!last && !history.Done() && outcome == Outcome::kContinue) {
        last = in.Get(1) == 1;
        const unsigned type = in.Get(2);
        if (in.Exhausted()) {
            break;
        }
        if (type == 0) {
            outcome = CopyStoredBlock(in, history);
            continue;
        }
        if (type == 1) {
            outcome = DecodeCompressedBlock(in, FixedCodes(), history);
            continue;
        }
        outcome = type == 2 ? ReadDynamicCodes(in, codes) : Outcome::kStop;  // 3 is a reserved type
        if (outcome == Outcome::kContinue) {
            outcome = DecodeCompressedBlock(in, codes, history);
        }
    }
    if (outcome == Outcome::kOutOfMemory) {
        output.ShowMessage(kInflateOutOfMemory, "Error");
    }
    history.Finish();
}

}  // namespace pelorin
