// The explode decoder: reads the compressed trees, builds their decoding tables
// and copies matches from the dictionary.
#include "update/unzip/Explode.h"

#include "update/unzip/DecodingTable.h"
#include "update/unzip/SlidingWindow.h"

namespace pelorin {
namespace {

constexpr std::size_t kExplodeWindowSize = 32768;
constexpr unsigned kLiteralLookupBits = 9;
constexpr unsigned kLengthLookupBits = 7;
constexpr unsigned kSmallDistanceLookupBits = 7;
constexpr unsigned kLargeDistanceLookupBits = 8;

// Worst complete codes of up to 16 bits: root entries plus second-level tables.
constexpr std::size_t kLiteralTableSize = 4608;  // 256 symbols, 9 lookup bits
constexpr std::size_t kShortTableSize = 3405;    // 64 symbols, 7 or 8 lookup bits

// The implode codes are the bitwise complement of canonical codes of the same lengths.
constexpr std::uint32_t kComplement = (1u << kMaxCodeLength) - 1;

// Unread input that lets a step of the loop read from a cursor without further checks.
constexpr std::size_t kFastInputMargin = 16;

// Reads a tree in its compressed form: a count byte, then bytes holding a bit
// length minus one (low nibble) and a repeat count minus one (high nibble).
// False when the counts do not add up to symbolCount or the input ran out.
bool ReadTreeLengths(BitReader& in, std::uint8_t* lengths, unsigned symbolCount) {
    const unsigned bytes = in.Get(8) + 1;
    unsigned filled = 0;
    for (unsigned i = 0; i < bytes; ++i) {
        const unsigned byte = in.Get(8);
        const unsigned length = (byte & 0x0F) + 1;
        const unsigned repeat = (byte >> 4) + 1;
        if (filled + repeat > symbolCount) return false;
        for (unsigned r = 0; r < repeat; ++r) lengths[filled++] = static_cast<std::uint8_t>(length);
    }
    return filled == symbolCount && !in.Exhausted();
}

template <std::size_t Capacity>
bool ReadTree(BitReader& in, DecodingTable<Capacity>& table, unsigned symbolCount) {
    std::uint8_t lengths[256];
    return ReadTreeLengths(in, lengths, symbolCount) &&
           table.Build(lengths, symbolCount, Completeness::Complete) == TableStatus::Ok;
}

}  // namespace

void Explode(BitReader& in, DecodeOutput& output, std::uint64_t uncompressedSize, std::uint64_t compressedSize,
             std::uint16_t flags, std::uint8_t* window) {
    static_assert(kExplodeWindowSize <= kWindowBufferSize, "dictionary exceeds the window");
    const bool literalTree = (flags & kImplodeLiteralTree) != 0;
    const unsigned distanceLowBits = (flags & kImplodeLargeDictionary) != 0 ? 7 : 6;
    const unsigned minimumLength = literalTree ? 3 : 2;

    DecodingTable<kLiteralTableSize> literals(kLiteralLookupBits);
    DecodingTable<kShortTableSize> lengths(kLengthLookupBits);
    DecodingTable<kShortTableSize> distances(compressedSize > kImplodeLargeEntry ? kLargeDistanceLookupBits
                                                                                 : kSmallDistanceLookupBits);
    if ((literalTree && !ReadTree(in, literals, 256)) || !ReadTree(in, lengths, 64) || !ReadTree(in, distances, 64)) {
        return;  // malformed tree: the entry stops here
    }

    SlidingWindow history(window, kExplodeWindowSize, output, uncompressedSize, SlidingWindow::History::Zeros);
    while (!history.Done()) {
        if (in.CursorReady(kFastInputMargin)) {
            // The same step from a cursor: one refill covers its 48 bits at most.
            BitCursor cursor = in.Cursor();
            const std::uint8_t* const limit = in.ChunkEnd() - kFastInputMargin;
            bool malformed = false;
            while (cursor.next <= limit && !history.Done()) {
                cursor.Refill();
                const bool literal = (cursor.bits & 1) != 0;
                cursor.Drop(1);
                if (literal) {
                    int byte = static_cast<int>(cursor.bits & 0xFF);
                    if (literalTree) {
                        byte = literals.Decode(cursor, kComplement);
                    } else {
                        cursor.Drop(8);
                    }
                    if (byte < 0) {
                        malformed = true;
                        break;
                    }
                    history.PutByte(static_cast<std::uint8_t>(byte));
                    continue;
                }
                const auto low = static_cast<unsigned>(cursor.bits & ((1u << distanceLowBits) - 1));
                cursor.Drop(distanceLowBits);
                const int high = distances.Decode(cursor, kComplement);
                int length = high < 0 ? -1 : lengths.Decode(cursor, kComplement);
                if (length < 0) {
                    malformed = true;
                    break;
                }
                if (length == 63) {
                    length += static_cast<int>(cursor.bits & 0xFF);
                    cursor.Drop(8);
                }
                const std::size_t distance = ((static_cast<std::size_t>(high) << distanceLowBits) | low) + 1;
                history.Copy(distance, static_cast<std::size_t>(length) + minimumLength);
            }
            in.Restore(cursor);
            if (malformed) break;
            continue;
        }
        if (in.Get(1) == 1) {
            const int literal = literalTree ? literals.Decode(in, kComplement) : static_cast<int>(in.Get(8));
            if (literal < 0 || in.Exhausted()) break;
            history.PutByte(static_cast<std::uint8_t>(literal));
            continue;
        }
        const unsigned low = in.Get(distanceLowBits);
        const int high = distances.Decode(in, kComplement);
        int length = lengths.Decode(in, kComplement);
        if (high < 0 || length < 0) break;
        if (length == 63) length += static_cast<int>(in.Get(8));
        if (in.Exhausted()) break;
        const std::size_t distance = ((static_cast<std::size_t>(high) << distanceLowBits) | low) + 1;
        history.Copy(distance, static_cast<std::size_t>(length) + minimumLength);
    }
    history.Finish();
}

}  // namespace pelorin
