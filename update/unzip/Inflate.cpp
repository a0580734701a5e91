// The inflate decoder: block headers, the code-length code of dynamic blocks,
// and the length/distance copies out of the window.
#include "update/unzip/Inflate.h"

#include "update/unzip/DecodingTable.h"
#include "update/unzip/SlidingWindow.h"

namespace pelorin {
namespace {

constexpr std::size_t kInflateWindowSize = 32768;
constexpr unsigned kLiteralLookupBits = 9;
constexpr unsigned kDistanceLookupBits = 6;
constexpr unsigned kCodeLengthLookupBits = 7;

// Worst complete codes of up to 15 bits: root entries plus second-level tables.
constexpr std::size_t kLiteralTableSize = 3146;    // 288 symbols, 9 lookup bits
constexpr std::size_t kDistanceTableSize = 1703;   // 32 symbols, 6 lookup bits
constexpr std::size_t kCodeLengthTableSize = 128;  // 19 symbols of at most 7 bits

constexpr unsigned kEndOfBlock = 256;
constexpr unsigned kLiteralCodes = 288;
constexpr unsigned kDistanceCodes = 32;

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

struct BlockCodes {
    DecodingTable<kLiteralTableSize> literals{kLiteralLookupBits};
    DecodingTable<kDistanceTableSize> distances{kDistanceLookupBits};
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

Outcome BuildFixedCodes(BlockCodes& codes) {
    std::uint8_t literalLengths[kLiteralCodes];
    for (unsigned s = 0; s < kLiteralCodes; ++s) {
        literalLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    }
    std::uint8_t distanceLengths[kDistanceCodes];
    for (unsigned s = 0; s < kDistanceCodes; ++s) {
        distanceLengths[s] = 5;
    }
    return BuildCodes(codes, literalLengths, kLiteralCodes, distanceLengths, kDistanceCodes);
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

Outcome DecodeCompressedBlock(BitReader& in, const BlockCodes& codes, SlidingWindow& history) {
    while (!history.Done()) {
        const int symbol = codes.literals.Decode(in);
        if (symbol < 0 || in.Exhausted()) {
            return Outcome::kStop;
        }
        if (symbol < 256) {
            history.PutByte(static_cast<std::uint8_t>(symbol));
            continue;
        }
        if (symbol == kEndOfBlock) {
            return Outcome::kContinue;
        }
        const unsigned lengthCode = static_cast<unsigned>(symbol) - 257;
        if (lengthCode >= 29) {
            return Outcome::kStop;
        }
        const unsigned length = kLengthBase[lengthCode] + in.Get(kLengthExtra[lengthCode]);
        const int distanceCode = codes.distances.Decode(in);
        if (distanceCode < 0 || distanceCode >= 30) {
            return Outcome::kStop;
        }
        const unsigned distance = kDistanceBase[distanceCode] + in.Get(kDistanceExtra[distanceCode]);
        if (in.Exhausted() || !history.Copy(distance, length)) {
            return Outcome::kStop;
        }
    }
    return Outcome::kContinue;
}

Outcome CopyStoredBlock(BitReader& in, SlidingWindow& history) {
    in.AlignToByte();
    const unsigned length = in.Get(16);
    const unsigned complement = in.Get(16);
    if (in.Exhausted() || (length ^ 0xFFFFu) != complement) {
        return Outcome::kStop;
    }
    for (unsigned i = 0; i < length && !history.Done(); ++i) {
        const std::uint8_t byte = static_cast<std::uint8_t>(in.Get(8));
        if (in.Exhausted()) {
            return Outcome::kStop;
        }
        history.PutByte(byte);
    }
    return Outcome::kContinue;
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
            outcome = BuildFixedCodes(codes);
        } else if (type == 2) {
            outcome = ReadDynamicCodes(in, codes);
        } else {
            outcome = Outcome::kStop;  // reserved block type
        }
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
