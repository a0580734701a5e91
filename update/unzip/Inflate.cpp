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
constexpr unsigned kLiteralLookupBits = 11;
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

enum class Outcome { Continue, Stop, OutOfMemory };

// A decoding-table entry that carries what the symbol means: a literal byte, the base and
// extra bits of a length or distance, the end of the block, a link to a second-level table,
// or no code. Bits() is the code length (for a link: the index bits of the table it points
// to). One word, so that the decoding loop keeps it in a register: the bits in the low byte,
// the kind and extra bits in the next, the value in the high half.
class Code {
public:
    enum class Kind : std::uint8_t {
        Invalid = 0x00,
        Base = 0x10,  // the number of extra bits goes into the low four bits
        Link = 0x20,
        End = 0x40,
        Literal = 0x80,
    };

    static constexpr Code Make(Kind kind, std::uint16_t value, unsigned bits, unsigned extra = 0) {
        return Code(static_cast<std::uint32_t>(value) << 16 | (static_cast<unsigned>(kind) | extra) << 8 | bits);
    }
    constexpr Code WithBits(unsigned bits) const { return Code((word_ & ~0xFFu) | bits); }

    unsigned Value() const { return word_ >> 16; }
    unsigned Bits() const { return word_ & 0xFFu; }
    bool Is(Kind kind) const { return (word_ & 0xFF00u) == static_cast<unsigned>(kind) << 8; }
    bool IsLiteral() const { return (word_ & static_cast<unsigned>(Kind::Literal) << 8) != 0; }
    bool IsBase() const { return (word_ & static_cast<unsigned>(Kind::Base) << 8) != 0; }
    unsigned Extra() const { return (word_ >> 8) & 0x0Fu; }

    Code() = default;  // left unset: a table holds many, and a build fills those in use

private:
    constexpr explicit Code(std::uint32_t word) : word_(word) {}
    std::uint32_t word_;
};
constexpr Code kNoCode = Code::Make(Code::Kind::Invalid, 0, 0);

enum class Alphabet { LiteralLength, Distance };

// What a symbol of the alphabet becomes in a Code.
constexpr Code Meaning(Alphabet alphabet, unsigned symbol, unsigned bits) {
    if (alphabet == Alphabet::Distance) {
        if (symbol >= 30) return Code::Make(Code::Kind::Invalid, 0, bits);
        return Code::Make(Code::Kind::Base, kDistanceBase[symbol], bits, kDistanceExtra[symbol]);
    }
    if (symbol < kEndOfBlock) return Code::Make(Code::Kind::Literal, static_cast<std::uint16_t>(symbol), bits);
    if (symbol == kEndOfBlock) return Code::Make(Code::Kind::End, 0, bits);
    const unsigned lengthCode = symbol - 257;
    if (lengthCode >= 29) return Code::Make(Code::Kind::Invalid, 0, bits);
    return Code::Make(Code::Kind::Base, kLengthBase[lengthCode], bits, kLengthExtra[lengthCode]);
}

template <Alphabet alphabet, unsigned symbols>
constexpr std::array<Code, symbols> MakeMeanings() {
    std::array<Code, symbols> meanings{};
    for (unsigned s = 0; s < symbols; ++s) meanings[s] = Meaning(alphabet, s, 0);
    return meanings;
}

template <Alphabet alphabet, unsigned rootBits, std::size_t Capacity>
class CodeTable {
public:
    TableStatus Build(const std::uint8_t* lengths, unsigned symbolCount, Completeness rule) {
        return BuildPrefixTable(lengths, symbolCount, rootBits, rule, codes_, Capacity, nullptr,
                                [](TableEntry::Kind kind, unsigned value, unsigned bits) {
                                    switch (kind) {
                                    case TableEntry::Kind::Symbol: return kMeanings[value].WithBits(bits);
                                    case TableEntry::Kind::Link:
                                        return Code::Make(Code::Kind::Link, static_cast<std::uint16_t>(value), bits);
                                    case TableEntry::Kind::Invalid: break;
                                    }
                                    return kNoCode;
                                });
    }

    // The entry for the code at the bottom of bits (at least kMaxCodeLength of them).
    Code Lookup(std::uint64_t bits) const {
        Code code = codes_[bits & ((1u << rootBits) - 1)];
        if (code.Is(Code::Kind::Link)) code = codes_[code.Value() + ((bits >> rootBits) & ((1u << code.Bits()) - 1))];
        return code;
    }

    // Decodes and consumes one code through the careful reader; an invalid code consumes nothing.
    Code Decode(BitReader& in) const {
        const Code code = Lookup(in.Peek(kMaxCodeLength));
        if (!code.Is(Code::Kind::Invalid)) in.Drop(code.Bits());
        return code;
    }

private:
    static constexpr unsigned kSymbols = alphabet == Alphabet::Distance ? kDistanceCodes : kLiteralCodes;
    static constexpr std::array<Code, kSymbols> kMeanings = MakeMeanings<alphabet, kSymbols>();
    // Left unset: a lookup reaches only the entries the last build filled.
    Code codes_[Capacity];
};

struct BlockCodes {
    CodeTable<Alphabet::LiteralLength, kLiteralLookupBits, kLiteralTableSize> literals;
    CodeTable<Alphabet::Distance, kDistanceLookupBits, kDistanceTableSize> distances;
};

Outcome FromStatus(TableStatus status) {
    switch (status) {
    case TableStatus::Ok: return Outcome::Continue;
    case TableStatus::TooLarge: return Outcome::OutOfMemory;
    case TableStatus::Invalid: break;
    }
    return Outcome::Stop;
}

// Deflate tolerates a distance code with a single one-bit code or none at all;
// the literal/length code always holds the end-of-block code.
Outcome BuildCodes(BlockCodes& codes, const std::uint8_t* literalLengths, unsigned literalCount,
                   const std::uint8_t* distanceLengths, unsigned distanceCount) {
    const Outcome literal =
        FromStatus(codes.literals.Build(literalLengths, literalCount, Completeness::AllowSingleOrNone));
    if (literal != Outcome::Continue) return literal;
    return FromStatus(codes.distances.Build(distanceLengths, distanceCount, Completeness::AllowSingleOrNone));
}

// The fixed codes are complete: building them cannot fail.
void BuildFixedCodes(BlockCodes& codes) {
    std::uint8_t literalLengths[kLiteralCodes];
    for (unsigned s = 0; s < kLiteralCodes; ++s) literalLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    std::uint8_t distanceLengths[kDistanceCodes];
    for (unsigned s = 0; s < kDistanceCodes; ++s) distanceLengths[s] = 5;
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
    if (literalCount > 286 || distanceCount > 30) return Outcome::Stop;
    std::uint8_t codeLengthLengths[19] = {};
    for (unsigned i = 0; i < codeLengthCount; ++i) {
        codeLengthLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(in.Get(3));
    }
    DecodingTable<kCodeLengthTableSize> codeLengths(kCodeLengthLookupBits);
    const Outcome built = FromStatus(codeLengths.Build(codeLengthLengths, 19, Completeness::Complete));
    if (built != Outcome::Continue) return built;

    std::uint8_t lengths[kLiteralCodes + kDistanceCodes] = {};
    const unsigned total = literalCount + distanceCount;
    unsigned filled = 0;
    while (filled < total) {
        const int symbol = codeLengths.Decode(in);
        if (symbol < 0 || in.Exhausted()) return Outcome::Stop;
        if (symbol < 16) {
            lengths[filled++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t repeated = 0;
        unsigned repeat;
        if (symbol == 16) {
            if (filled == 0) return Outcome::Stop;  // nothing to repeat
            repeated = lengths[filled - 1];
            repeat = 3 + in.Get(2);
        } else if (symbol == 17) {
            repeat = 3 + in.Get(3);
        } else {
            repeat = 11 + in.Get(7);
        }
        if (filled + repeat > total) return Outcome::Stop;
        while (repeat-- > 0) lengths[filled++] = repeated;
    }
    if (lengths[kEndOfBlock] == 0) return Outcome::Stop;  // a block could never end
    return BuildCodes(codes, lengths, literalCount, lengths + literalCount, distanceCount);
}

// A step of the fast loop reads at most 15 bytes past the cursor it starts with: two refills
// of eight bytes, the first of which advances by at most seven.
constexpr std::size_t kFastInputMargin = 16;
// A step writes at most three literals; a match that does not fit goes to the window's own
// copy, which hands the window over on the way.
constexpr std::size_t kMaxLiterals = 3;

template <std::size_t n>
inline void CopyBytes(std::uint8_t* to, const std::uint8_t* from) {
    std::memcpy(to, from, n);
}

// Copies length bytes from from to out, a byte at a time in effect: from lies behind out
// (a match that repeats itself when they overlap), or ahead of it (a source wrapped around
// the window, still unchanged when read). apart is at most the gap between the two. Nothing
// past out + length is written: ahead of the target lies the oldest history.
inline void CopyMatch(std::uint8_t* out, const std::uint8_t* from, std::size_t length, std::size_t apart) {
    if (apart >= 8 && length >= 8) {
        // Words, the last one ending at the end of the match. With the two a word apart or
        // more, each word reads only bytes already in place, or not yet overwritten.
        std::size_t done = 0;
        if (apart >= 16) {
            for (; done + 16 < length; done += 16) CopyBytes<16>(out + done, from + done);
        }
        for (; done + 8 < length; done += 8) CopyBytes<8>(out + done, from + done);
        CopyBytes<8>(out + length - 8, from + length - 8);
        return;
    }
    if (from + 1 == out && length >= 8) {
        // A run of one byte, a word at a time.
        const std::uint64_t run = *from * std::uint64_t{0x0101010101010101};
        std::size_t done = 0;
        for (; done + 8 < length; done += 8) std::memcpy(out + done, &run, 8);
        std::memcpy(out + length - 8, &run, 8);
        return;
    }
    for (std::size_t i = 0; i < length; ++i) out[i] = from[i];
}

// Matches up to this long, the most of them, are copied by CopyShortMatch.
constexpr std::size_t kShortMatch = 16;

// Copies a match of at most kShortMatch bytes, from and out at least a word apart, without a
// branch on its length: kShortMatch bytes are stored, and the kShortMatch bytes after the
// match put back as they were. The caller leaves room for them in the buffer.
inline void CopyShortMatch(std::uint8_t* out, const std::uint8_t* from, std::size_t length, std::size_t apart) {
    std::uint8_t after[kShortMatch];
    std::memcpy(after, out + length, kShortMatch);
    if (apart >= 16) {
        CopyBytes<16>(out, from);
    } else {
        CopyBytes<8>(out, from);
        CopyBytes<8>(out + 8, from + 8);
    }
    std::memcpy(out + length, after, kShortMatch);
}

enum class FastResult { More, EndOfBlock, Stop };

// Decodes while the chunk holds kFastInputMargin bytes and the window has room for three
// literals before its end and before the entry's size. Every step has been decoded
// completely when it returns.
FastResult DecodeFast(BitReader& in, const BlockCodes& codes, SlidingWindow& history) {
    BitCursor cursor = in.Cursor();
    const std::uint8_t* const inputLimit = in.ChunkEnd() - kFastInputMargin;
    std::uint8_t* const base = history.Base();
    const std::size_t size = history.Size();
    std::uint8_t* const start = base + history.Position();
    std::uint8_t* const end = start + history.Room();
    std::uint8_t* const outputLimit = end - kMaxLiterals;
    // Where a match may end: CopyShortMatch needs kShortMatch bytes after it, and from a source
    // wrapped around the window, reads as many bytes, both in the buffer.
    std::uint8_t* const bufferEnd = base + kWindowBufferSize;
    std::uint8_t* const matchEnd = end < bufferEnd - kShortMatch ? end : bufferEnd - kShortMatch;
    // Bytes of the entry before base: a match may reach back over them and what came since.
    const std::uint64_t before = history.Produced() - history.Position();
    std::uint8_t* out = start;
    FastResult result = FastResult::More;
    std::size_t overflowDistance = 0;  // a match that runs past end: distance and length
    std::size_t overflowLength = 0;

    // Each step starts with the entry of its first code looked up, after a refill: at least 56
    // bits, enough for three literal codes, or two and a length code with its extra bits.
    cursor.Refill();
    Code code = codes.literals.Lookup(cursor.bits);
    while (cursor.next <= inputLimit && out <= outputLimit) {
        if (code.IsLiteral()) {
            cursor.Drop(code.Bits());
            *out++ = static_cast<std::uint8_t>(code.Value());
            code = codes.literals.Lookup(cursor.bits);
            if (code.IsLiteral()) {
                cursor.Drop(code.Bits());
                *out++ = static_cast<std::uint8_t>(code.Value());
                code = codes.literals.Lookup(cursor.bits);
                if (code.IsLiteral()) {
                    cursor.Drop(code.Bits());
                    *out++ = static_cast<std::uint8_t>(code.Value());
                    cursor.Refill();
                    code = codes.literals.Lookup(cursor.bits);
                    continue;
                }
            }
        }
        if (!code.IsBase()) {
            result = code.Is(Code::Kind::End) ? FastResult::EndOfBlock : FastResult::Stop;
            if (result == FastResult::EndOfBlock) cursor.Drop(code.Bits());
            break;
        }
        cursor.Drop(code.Bits());
        unsigned extra = code.Extra();
        const std::size_t length = code.Value() + (cursor.bits & ((1u << extra) - 1));
        cursor.Drop(extra);
        cursor.Refill();  // the distance code and its extra bits take up to 28 bits
        code = codes.distances.Lookup(cursor.bits);
        if (!code.IsBase()) {
            result = FastResult::Stop;
            break;
        }
        cursor.Drop(code.Bits());
        extra = code.Extra();
        const std::size_t distance = code.Value() + (cursor.bits & ((1u << extra) - 1));
        cursor.Drop(extra);
        // The next step's first code, looked up while the match is copied.
        cursor.Refill();
        code = codes.literals.Lookup(cursor.bits);
        // The source, wrapped around the window when it starts before its beginning; chosen
        // without a branch, as a third of the matches wrap.
        const std::size_t position = static_cast<std::size_t>(out - base);
        const bool wraps = distance > position;
        const std::uint8_t* const from = base + (position - distance + (wraps ? size : 0));
        if (from + length > base + size || from > bufferEnd - kShortMatch || distance > before + position ||
            static_cast<std::ptrdiff_t>(length) > matchEnd - out) {
            if (distance > before + position) {
                result = FastResult::Stop;  // before the first byte of the entry
                break;
            }
            if (static_cast<std::ptrdiff_t>(length) > matchEnd - out) {
                overflowDistance = distance;
                overflowLength = length;
                break;
            }
            if (from + length <= base + size) {
                CopyMatch(out, from, length, wraps ? size - distance : distance);
            } else {
                // The source runs on past the window's end, at its start.
                const std::size_t tail = distance - position;
                CopyMatch(out, from, tail, size - distance);
                CopyMatch(out + tail, base, length - tail, distance);
            }
        } else {
            const std::size_t apart = wraps ? size - distance : distance;
            if (length <= kShortMatch && apart >= 8) {
                CopyShortMatch(out, from, length, apart);
            } else {
                CopyMatch(out, from, length, apart);
            }
        }
        out += length;
    }
    in.Restore(cursor);
    history.Advance(static_cast<std::size_t>(out - start));
    if (overflowLength > 0 && !history.Copy(overflowDistance, overflowLength)) return FastResult::Stop;
    return result;
}

Outcome DecodeCompressedBlock(BitReader& in, const BlockCodes& codes, SlidingWindow& history) {
    while (!history.Done()) {
        if (in.CursorReady(kFastInputMargin + 8) && history.Room() >= kMaxLiterals) {
            const FastResult fast = DecodeFast(in, codes, history);
            if (fast == FastResult::EndOfBlock) return Outcome::Continue;
            if (fast == FastResult::Stop) return Outcome::Stop;
            continue;
        }
        const Code code = codes.literals.Decode(in);
        if (code.Is(Code::Kind::Invalid) || in.Exhausted()) return Outcome::Stop;
        if (code.IsLiteral()) {
            history.PutByte(static_cast<std::uint8_t>(code.Value()));
            continue;
        }
        if (code.Is(Code::Kind::End)) return Outcome::Continue;
        const unsigned length = code.Value() + in.Get(code.Extra());
        const Code distanceCode = codes.distances.Decode(in);
        if (distanceCode.Is(Code::Kind::Invalid)) return Outcome::Stop;
        const unsigned distance = distanceCode.Value() + in.Get(distanceCode.Extra());
        if (in.Exhausted() || !history.Copy(distance, length)) return Outcome::Stop;
    }
    return Outcome::Continue;
}

// Stored bytes go from the input chunks to the window in bulk.
Outcome CopyStoredBlock(BitReader& in, SlidingWindow& history) {
    in.AlignToByte();
    const unsigned length = in.Get(16);
    const unsigned complement = in.Get(16);
    if (in.Exhausted() || (length ^ 0xFFFFu) != complement) return Outcome::Stop;
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(length, history.Left()));
    const std::size_t got =
        in.ReadBytes(wanted, [&history](const std::uint8_t* data, std::size_t n) { history.PutBytes(data, n); });
    return got == wanted ? Outcome::Continue : Outcome::Stop;
}

}  // namespace

void Inflate(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint8_t* window) {
    static_assert(kInflateWindowSize <= kWindowBufferSize, "window exceeds the buffer");
    SlidingWindow history(window, kInflateWindowSize, output, uncompressedSize, SlidingWindow::History::WrittenOnly);
    BlockCodes codes;
    bool last = false;
    Outcome outcome = Outcome::Continue;
    while (!last && !history.Done() && outcome == Outcome::Continue) {
        last = in.Get(1) == 1;
        const unsigned type = in.Get(2);
        if (in.Exhausted()) break;
        if (type == 0) {
            outcome = CopyStoredBlock(in, history);
            continue;
        }
        if (type == 1) {
            outcome = DecodeCompressedBlock(in, FixedCodes(), history);
            continue;
        }
        outcome = type == 2 ? ReadDynamicCodes(in, codes) : Outcome::Stop;  // 3 is a reserved type
        if (outcome == Outcome::Continue) outcome = DecodeCompressedBlock(in, codes, history);
    }
    if (outcome == Outcome::OutOfMemory) output.ShowMessage(kInflateOutOfMemory, "Error");
    history.Finish();
}

}  // namespace pelorin
