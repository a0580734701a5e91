// Least-significant-bit-first reader over the engine's input chunks, shared by
// every decoder; past the end of the entry's data it reads zeros and notes the overrun.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "update/unzip/DecodeIO.h"

namespace pelorin {

// The bit buffer and the unread bytes of the current chunk, copied out for a decoder's
// inner loop so that they stay in registers. Refill needs eight readable bytes at next.
struct BitCursor {
    const std::uint8_t* next;
    std::uint64_t bits;
    unsigned held;

    // Tops the buffer up to at least 56 bits, a word at a time. The bits above held are
    // those of the next bytes, which a later refill ORs in again unchanged.
    void Refill() {
        std::uint64_t word;
        std::memcpy(&word, next, sizeof word);
        bits |= LittleEndian(word) << held;
        next += (63 - held) >> 3;
        held |= 56;
    }
    void Drop(unsigned count) {
        bits >>= count;
        held -= count;
    }

private:
    static std::uint64_t LittleEndian(std::uint64_t word) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return __builtin_bswap64(word);
#else
        return word;
#endif
    }
};

class BitReader {
public:
    explicit BitReader(DecodeInput& input) : input_(input) {}
    BitReader(const BitReader&) = delete;
    BitReader& operator=(const BitReader&) = delete;

    // The next count bits (count <= 24) without consuming them.
    std::uint32_t Peek(unsigned count) {
        if (held_ < count) TopUp();
        return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << count) - 1));
    }

    void Drop(unsigned count) {
        bits_ >>= count;
        held_ -= count;
        if (held_ < padding_) {
            overrun_ = true;
            padding_ = held_;
        }
    }

    std::uint32_t Get(unsigned count) {
        const std::uint32_t value = Peek(count);
        Drop(count);
        return value;
    }

    // Drops the bits up to the next byte boundary of the input.
    void AlignToByte() { Drop(held_ % 8); }

    // After AlignToByte: hands up to count bytes of the input to sink(data, n), in pieces taken
    // straight from the chunks. Returns how many it handed over; fewer only when the data
    // end first, which counts as an overrun.
    template <class Sink>
    std::size_t ReadBytes(std::size_t count, Sink&& sink);

    // True once a bit beyond the entry's compressed data has been consumed.
    bool Exhausted() const { return overrun_; }

    // True while the current chunk holds at least margin (>= 8) unread bytes and the data
    // have not ended: then a decoder may work on a BitCursor without further checks.
    bool CursorReady(std::size_t margin) const { return padding_ == 0 && end_ - position_ >= margin; }
    BitCursor Cursor() const { return BitCursor{chunk_ + position_, bits_, held_}; }
    void Restore(const BitCursor& cursor) {
        position_ = static_cast<std::size_t>(cursor.next - chunk_);
        bits_ = cursor.bits;
        held_ = cursor.held;
    }
    const std::uint8_t* ChunkEnd() const { return chunk_ + end_; }

private:
    void TopUp();
    bool LoadChunk();

    DecodeInput& input_;
    std::uint8_t chunk_[kDataChunkSize];
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool inputEnded_ = false;
    std::uint64_t bits_ = 0;
    unsigned held_ = 0;     // valid bits in bits_, padding included
    unsigned padding_ = 0;  // zero bits appended after the end of the data
    bool overrun_ = false;
};

template <class Sink>
std::size_t BitReader::ReadBytes(std::size_t count, Sink&& sink) {
    std::size_t done = 0;
    // First the whole bytes of data the bit buffer holds.
    std::uint8_t held[8];
    std::size_t fromBits = 0;
    while (done + fromBits < count && held_ - padding_ >= 8) {
        held[fromBits++] = static_cast<std::uint8_t>(bits_);
        Drop(8);
    }
    if (fromBits > 0) {
        sink(held, fromBits);
        done += fromBits;
    }
    while (done < count) {
        if (held_ > 0 || (position_ == end_ && !LoadChunk())) {
            overrun_ = true;  // only padding is left
            break;
        }
        bits_ = 0;  // a word refill leaves the bits of bytes still in the chunk above held_
        const std::size_t n = count - done < end_ - position_ ? count - done : end_ - position_;
        sink(chunk_ + position_, n);
        position_ += n;
        done += n;
    }
    return done;
}

}  // namespace pelorin
