// TS_BufferStream: the buffer's read and write states and the logical position they imply.
// The underlying position is tracked here, so a seek to the current place costs no I/O.
#include "update/strings/BufferStream.h"

#include <algorithm>
#include <cstring>

#include "core/TextFormat.h"
#include "update/strings/StreamMessages.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

TS_BufferStream::TS_BufferStream(TStream& stream)
    : stream_(stream), buffer_(kBufferSize), streamPosition_(stream.Position()) {}

TS_BufferStream::TS_BufferStream(std::unique_ptr<TStream> owned)
    : owned_(std::move(owned)), stream_(*owned_), buffer_(kBufferSize), streamPosition_(stream_.Position()) {}

TS_BufferStream::~TS_BufferStream() {
    try {
        FlushBuffer();
    } catch (...) {
        // Nobody is left to tell; Flush before destroying reports it.
    }
}

std::int64_t TS_BufferStream::LogicalPosition() const {
    switch (state_) {
    case TBufferState::bsReading: return streamPosition_ - static_cast<std::int64_t>(end_ - current_);
    case TBufferState::bsWriting: return streamPosition_ + static_cast<std::int64_t>(current_);
    default: return streamPosition_;
    }
}

bool TS_BufferStream::FlushBuffer() {
    if (state_ != TBufferState::bsWriting) return true;
    const std::size_t pending = current_;
    const std::size_t written = pending > 0 ? stream_.Write(buffer_.data(), pending) : 0;
    streamPosition_ += static_cast<std::int64_t>(written);
    current_ = 0;
    end_ = 0;
    state_ = TBufferState::bsUnknown;
    if (pending > 0 && OnFlushBuffer) OnFlushBuffer(*this);
    return written == pending;
}

void TS_BufferStream::Flush() {
    if (!FlushBuffer()) RaiseWriteError(stream_);
}

std::size_t TS_BufferStream::Fill() {
    if (!FlushBuffer()) RaiseWriteError(stream_);
    const std::size_t got = stream_.Read(buffer_.data(), buffer_.size());
    streamPosition_ += static_cast<std::int64_t>(got);
    current_ = 0;
    end_ = got;
    state_ = got > 0 ? TBufferState::bsReading : TBufferState::bsUnknown;
    if (got > 0 && OnFillBuffer) OnFillBuffer(*this);
    return got;
}

std::size_t TS_BufferStream::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (state_ != TBufferState::bsReading || current_ == end_) {
            if (Fill() == 0) break;
        }
        const std::size_t n = std::min(count - done, end_ - current_);
        std::memcpy(out + done, buffer_.data() + current_, n);
        current_ += n;
        done += n;
    }
    return done;
}

std::size_t TS_BufferStream::Write(const void* buffer, std::size_t count) {
    if (state_ == TBufferState::bsReading) {
        // Bytes read ahead are dropped: the underlying stream goes back to the logical position.
        streamPosition_ = stream_.Seek(LogicalPosition(), soFromBeginning);
        current_ = 0;
        end_ = 0;
        state_ = TBufferState::bsUnknown;
    }
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (state_ != TBufferState::bsWriting) {
            state_ = TBufferState::bsWriting;
            current_ = 0;
        }
        const std::size_t n = std::min(count - done, buffer_.size() - current_);
        std::memcpy(buffer_.data() + current_, in + done, n);
        current_ += n;
        done += n;
        if (current_ == buffer_.size() && !FlushBuffer()) break;
    }
    return done;
}

std::int64_t TS_BufferStream::Size() {
    const std::int64_t buffered = state_ == TBufferState::bsWriting ? static_cast<std::int64_t>(current_) : 0;
    return std::max(stream_.Size(), streamPosition_ + buffered);
}

std::int64_t TS_BufferStream::Seek(std::int64_t offset, int origin) {
    const std::int64_t logical = LogicalPosition();
    std::int64_t target = 0;
    switch (origin) {
    case soFromBeginning: target = offset; break;
    case soFromCurrent: target = logical + offset; break;
    case soFromEnd: target = Size() - (offset < 0 ? -offset : offset); break;
    default: throw EStreamError(FormatText(StreamMessage(kInvalidSeekOrigin), origin));
    }
    if (target == logical) return logical;
    if (!FlushBuffer()) throw EStreamError(StreamMessage(kSeekError));
    streamPosition_ = stream_.Seek(target, soFromBeginning);
    current_ = 0;
    end_ = 0;
    state_ = TBufferState::bsUnknown;
    return streamPosition_;
}

void TS_BufferStream::Putback(std::uint8_t byte) {
    if (state_ != TBufferState::bsReading || current_ == 0) throw EStreamError(StreamMessage(kPutbackOverflow));
    buffer_[--current_] = byte;
}

}  // namespace pelorin
