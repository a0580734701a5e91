// The circular history that reduce, explode and inflate copy matches from; it is
// handed to the engine's output each time it fills and once more at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "update/unzip/DecodeIO.h"

namespace pelorin {

class SlidingWindow {
public:
    enum class History {
        Zeros,        // positions never written read as zero bytes
        WrittenOnly,  // a copy from before the first byte is refused
    };

    // buffer holds size bytes, size a power of two; limit is the entry's
    // uncompressed size, beyond which nothing is produced.
    SlidingWindow(std::uint8_t* buffer, std::size_t size, DecodeOutput& output, std::uint64_t limit, History history);
    SlidingWindow(const SlidingWindow&) = delete;
    SlidingWindow& operator=(const SlidingWindow&) = delete;

    bool Done() const { return produced_ >= limit_; }

    void PutByte(std::uint8_t byte) {
        if (Done()) return;
        buffer_[position_++] = byte;
        ++produced_;
        if (position_ == size_) Flush();
    }

    // Repeats length bytes found distance bytes back (distance >= 1), stopping
    // at the limit. Returns false when the distance reaches before the data
    // under History::WrittenOnly or beyond the window.
    bool Copy(std::size_t distance, std::size_t length) {
        // The common case inline: a source behind the target, both clear of the window's
        // end and the whole match within the limit.
        if (distance - 1 < position_ && position_ + length < size_ && length <= Left()) {
            CopyForward(buffer_ + position_, distance, length);
            position_ += length;
            produced_ += length;
            return true;
        }
        return CopyAround(distance, length);
    }

    // Appends count bytes, stopping at the limit.
    void PutBytes(const std::uint8_t* data, std::size_t count);

    // Bytes still to produce before the limit.
    std::uint64_t Left() const { return limit_ - (produced_ < limit_ ? produced_ : limit_); }

    // Direct access for a decoder's inner loop: it may write up to Room() bytes at
    // Base() + Position(), copying from the history itself, and then calls Advance.
    std::uint8_t* Base() const { return buffer_; }
    std::size_t Size() const { return size_; }
    std::size_t Position() const { return position_; }
    std::size_t Room() const {
        const std::size_t toEnd = size_ - position_;
        return Left() < toEnd ? static_cast<std::size_t>(Left()) : toEnd;
    }
    void Advance(std::size_t count) {
        position_ += count;
        produced_ += count;
        if (position_ == size_) Flush();
    }

    // Hands the bytes not yet written to the output.
    void Finish() { Flush(); }

    std::uint64_t Produced() const { return produced_; }

private:
    // Repeats length bytes from distance back; a source that overlaps its target repeats.
    static void CopyForward(std::uint8_t* to, std::size_t distance, std::size_t length) {
        const std::uint8_t* from = to - distance;
        if (distance >= 8 && length >= 8) {
            for (std::size_t done = 0; done + 8 <= length; done += 8) std::memcpy(to + done, from + done, 8);
            std::memcpy(to + length - 8, from + length - 8, 8);  // the rest, overlapping what is done
            return;
        }
        for (std::size_t i = 0; i < length; ++i) to[i] = from[i];
    }
    bool CopyAround(std::size_t distance, std::size_t length);
    void Flush();

    std::uint8_t* buffer_;
    std::size_t size_;
    std::size_t mask_;
    DecodeOutput& output_;
    std::uint64_t limit_;
    History history_;
    std::size_t position_ = 0;
    std::uint64_t produced_ = 0;
};

}  // namespace pelorin
