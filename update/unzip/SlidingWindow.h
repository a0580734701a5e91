// The circular history that reduce, explode and inflate copy matches from; it is
// handed to the engine's output each time it fills and once more at the end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "update/unzip/DecodeIO.h"

namespace pelorin {

class SlidingWindow {
public:
    enum class History {
        kZeros,        // positions never written read as zero bytes
        kWrittenOnly,  // a copy from before the first byte is refused
    };

    // buffer holds size bytes, size a power of two; limit is the entry's
    // uncompressed size, beyond which nothing is produced.
    SlidingWindow(std::uint8_t* buffer, std::size_t size, DecodeOutput& output, std::uint64_t limit, History history);
    SlidingWindow(const SlidingWindow&) = delete;
    SlidingWindow& operator=(const SlidingWindow&) = delete;

    bool Done() const { return produced_ >= limit_; }

    void PutByte(std::uint8_t byte) {
        if (Done()) {
            return;
        }
        buffer_[position_++] = byte;
        ++produced_;
        if (position_ == size_) {
            Flush();
        }
    }

    // Repeats length bytes found distance bytes back (distance >= 1), stopping
    // at the limit. Returns false when the distance reaches before the data
    // under History::kWrittenOnly or beyond the window.
    bool Copy(std::size_t distance, std::size_t length);

    // Hands the bytes not yet written to the output.
    void Finish() { Flush(); }

    std::uint64_t Produced() const { return produced_; }

private:
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
