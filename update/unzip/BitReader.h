// Least-significant-bit-first reader over the engine's input chunks, shared by
// every decoder; past the end of the entry's data it reads zeros and notes the overrun.
#pragma once

#include <cstddef>
#include <cstdint>

#include "update/unzip/DecodeIO.h"

namespace pelorin {

// Compressed data arrive in chunks of at most this many bytes.
constexpr std::size_t kInputChunkSize = 16000;

class BitReader {
public:
    explicit BitReader(DecodeInput& input) : input_(input) {}
    BitReader(const BitReader&) = delete;
    BitReader& operator=(const BitReader&) = delete;

    // The next count bits (count <= 24) without consuming them.
    std::uint32_t Peek(unsigned count) {
        if (held_ < count) {
            TopUp();
        }
        return bits_ & ((std::uint32_t{1} << count) - 1);
    }

    void Drop(unsigned count) {
        bits_ = count < 32 ? bits_ >> count : 0;
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

    // True once a bit beyond the entry's compressed data has been consumed.
    bool Exhausted() const { return overrun_; }

private:
    void TopUp();
    bool LoadChunk();

    DecodeInput& input_;
    std::uint8_t chunk_[kInputChunkSize];
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool inputEnded_ = false;
    std::uint32_t bits_ = 0;
    unsigned held_ = 0;     // valid bits in bits_, padding included
    unsigned padding_ = 0;  // zero bits appended after the end of the data
    bool overrun_ = false;
};

}  // namespace pelorin
