// Match copies through the circular history and the hand-over of full windows
// to the engine's output writer.
#include "update/unzip/SlidingWindow.h"

#include <algorithm>
#include <cstring>

namespace pelorin {

SlidingWindow::SlidingWindow(std::uint8_t* buffer, std::size_t size, DecodeOutput& output, std::uint64_t limit,
                             History history)
    : buffer_(buffer), size_(size), mask_(size - 1), output_(output), limit_(limit), history_(history) {
    if (history_ == History::Zeros) std::memset(buffer_, 0, size_);
}

// Copies that wrap around the window, reach its end or the limit, in runs.
bool SlidingWindow::CopyAround(std::size_t distance, std::size_t length) {
    if (distance == 0 || distance > size_ || (history_ == History::WrittenOnly && distance > produced_)) return false;
    const std::uint64_t room = limit_ - std::min(limit_, produced_);
    std::size_t remaining = static_cast<std::size_t>(std::min<std::uint64_t>(length, room));
    while (remaining > 0) {
        const std::size_t from = (position_ - distance) & mask_;
        // Largest run that neither wraps nor overlaps its own source.
        std::size_t run = std::min({remaining, size_ - position_, size_ - from});
        if (distance < run) run = distance;
        // With the run at most the distance, a source behind the target never
        // overlaps it, and one ahead of it (wrapped around) is read before being overwritten.
        std::memmove(buffer_ + position_, buffer_ + from, run);
        position_ += run;
        produced_ += run;
        remaining -= run;
        if (position_ == size_) Flush();
    }
    return true;
}

void SlidingWindow::PutBytes(const std::uint8_t* data, std::size_t count) {
    while (count > 0 && !Done()) {
        const std::size_t run = std::min(count, Room());
        std::memcpy(buffer_ + position_, data, run);
        data += run;
        count -= run;
        Advance(run);
    }
}

void SlidingWindow::Flush() {
    if (position_ > 0) output_.Put(buffer_, position_);
    position_ = 0;
}

}  // namespace pelorin
