// TMemoryStream: reads stop at the end; writes past the end grow the bytes.
// Seeks follow the shared target rules; a position past the end is allowed.
#include "update/strings/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace pelorin {

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    const auto size = static_cast<std::int64_t>(bytes_.size());
    if (position_ >= size || count == 0) return 0;
    const std::size_t n = std::min(count, static_cast<std::size_t>(size - position_));
    std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += static_cast<std::int64_t>(n);
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    const auto end = static_cast<std::size_t>(position_) + count;
    if (end > bytes_.size()) bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = static_cast<std::int64_t>(end);
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, int origin) {
    position_ = SeekTarget(offset, origin, position_, Size());
    return position_;
}

void TMemoryStream::SetSize(std::size_t size) {
    bytes_.resize(size);
    position_ = std::min(position_, static_cast<std::int64_t>(size));
}

}  // namespace pelorin
