// CRC-32: carry-less multiplication where the processor has it, else eight 256-entry tables
// computed at compile time, eight bytes a step. The decryption keys take one byte at a time.
#include "update/unzip/Crc32.h"

#include <array>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define PELORIN_CRC_FOLDING 1
#endif

namespace pelorin {

namespace {

using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

// tables[0] is the byte-wise table; tables[k][n] is the CRC of byte n followed by k zero bytes.
constexpr CrcTables MakeTables() {
    CrcTables tables{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            const std::uint32_t previous = tables[k - 1][n];
            tables[k][n] = tables[0][previous & 0xFF] ^ (previous >> 8);
        }
    }
    return tables;
}

constexpr CrcTables kTables = MakeTables();

std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint32_t UpdateByTables(std::uint32_t running, const std::uint8_t* data, std::size_t count) {
    for (; count >= 8; count -= 8, data += 8) {
        const std::uint32_t low = Load32(data) ^ running;
        const std::uint32_t high = Load32(data + 4);
        running = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
                  kTables[4][low >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
                  kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
    }
    for (; count > 0; --count, ++data) running = kTables[0][(running ^ *data) & 0xFF] ^ (running >> 8);
    return running;
}

#ifdef PELORIN_CRC_FOLDING
// Processors with carry-less multiplication fold 64 bytes a step into four 128-bit
// remainders, then those into one, and reduce it to 32 bits (Barrett). The constants are
// powers of x modulo the polynomial, bit-reflected. count >= 64, a multiple of 16.
#define PELORIN_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))

PELORIN_FOLDING_TARGET inline __m128i Load128(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

PELORIN_FOLDING_TARGET inline __m128i Fold(__m128i x, __m128i k) {
    return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

PELORIN_FOLDING_TARGET std::uint32_t UpdateByFolding(std::uint32_t running, const std::uint8_t* data,
                                                     std::size_t count) {
    __m128i x1 = _mm_xor_si128(Load128(data), _mm_cvtsi32_si128(static_cast<int>(running)));
    __m128i x2 = Load128(data + 16);
    __m128i x3 = Load128(data + 32);
    __m128i x4 = Load128(data + 48);
    data += 64;
    count -= 64;
    const __m128i by4 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    for (; count >= 64; data += 64, count -= 64) {
        x1 = _mm_xor_si128(Fold(x1, by4), Load128(data));
        x2 = _mm_xor_si128(Fold(x2, by4), Load128(data + 16));
        x3 = _mm_xor_si128(Fold(x3, by4), Load128(data + 32));
        x4 = _mm_xor_si128(Fold(x4, by4), Load128(data + 48));
    }
    const __m128i by1 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    x1 = _mm_xor_si128(Fold(x1, by1), x2);
    x1 = _mm_xor_si128(Fold(x1, by1), x3);
    x1 = _mm_xor_si128(Fold(x1, by1), x4);
    for (; count >= 16; data += 16, count -= 16) x1 = _mm_xor_si128(Fold(x1, by1), Load128(data));

    // 128 bits to 64, 64 to 32, then the Barrett reduction.
    const __m128i mask32 = _mm_set_epi32(0, 0, 0, -1);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(x1, by1, 0x10), _mm_srli_si128(x1, 8));
    const __m128i r5 = _mm_set_epi64x(0, 0x163cd6124);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), r5, 0x00), _mm_srli_si128(x1, 4));
    const __m128i poly = _mm_set_epi64x(0x1f7011641, 0x1db710641);
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), poly, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, mask32), poly, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, t), 1));
}

bool CanFold() {
    static const bool can = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return can;
}
#endif

}  // namespace

std::uint32_t Crc32Byte(std::uint32_t running, std::uint8_t byte) {
    return kTables[0][(running ^ byte) & 0xFF] ^ (running >> 8);
}

std::uint32_t UpdateCrc32(std::uint32_t running, const std::uint8_t* data, std::size_t count) {
#ifdef PELORIN_CRC_FOLDING
    if (count >= 64 && CanFold()) {
        const std::size_t folded = count & ~std::size_t{15};
        running = UpdateByFolding(running, data, folded);
        data += folded;
        count -= folded;
    }
#endif
    return UpdateByTables(running, data, count);
}

}  // namespace pelorin
