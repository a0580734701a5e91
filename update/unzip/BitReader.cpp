// Refilling of the bit buffer: a word at a time while the chunk has eight bytes
// left, else a byte at a time, asking the engine for the next chunk when the current one is used up.
#include "update/unzip/BitReader.h"

namespace pelorin {

void BitReader::TopUp() {
    if (CursorReady(8)) {
        BitCursor cursor = Cursor();
        cursor.Refill();
        Restore(cursor);
        return;
    }
    while (held_ < 25) {
        if (position_ == end_ && !LoadChunk()) {
            padding_ += 8;  // zeros beyond the data; consuming them marks the overrun
        } else {
            bits_ |= std::uint64_t{chunk_[position_++]} << held_;
        }
        held_ += 8;
    }
}

bool BitReader::LoadChunk() {
    if (inputEnded_) return false;
    end_ = input_.Fill(chunk_, sizeof chunk_);
    position_ = 0;
    if (end_ > sizeof chunk_) end_ = sizeof chunk_;
    inputEnded_ = end_ == 0;
    return !inputEnded_;
}

}  // namespace pelorin
