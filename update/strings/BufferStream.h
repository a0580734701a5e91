// TS_BufferStream: an 8192-byte buffer in front of another stream, for reading and for writing,
// with putback of read bytes and notifications when the buffer is filled or flushed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "update/strings/Stream.h"

namespace pelorin {

class TS_BufferStream : public TStream {
public:
    static constexpr std::size_t kBufferSize = 8192;
    enum class TBufferState { bsUnknown, bsReading, bsWriting };
    using TBufferEvent = std::function<void(TS_BufferStream& sender)>;

    // The underlying stream stays the caller's.
    explicit TS_BufferStream(TStream& stream);
    // Flushes buffered writes (a failure here goes unreported: call Flush first to see it).
    ~TS_BufferStream() override;
    TS_BufferStream(const TS_BufferStream&) = delete;
    TS_BufferStream& operator=(const TS_BufferStream&) = delete;

    std::string ClassName() const override { return "TS_BufferStream"; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    // Origin 2 counts back from the end whatever the sign of the offset.
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::int64_t Size() override;
    // A refused flush is the underlying stream's failure.
    std::string WriteFailure() const override { return stream_.WriteFailure(); }

    // Steps the read position back one byte and stores the byte there.
    void Putback(std::uint8_t byte);
    // Writes the buffered bytes to the underlying stream; raises a stream error when it refuses some.
    void Flush();
    // Refills the buffer from the underlying stream; the number of bytes that arrived.
    std::size_t Fill();

    TBufferState State() const { return state_; }

    TBufferEvent OnFillBuffer;
    TBufferEvent OnFlushBuffer;

protected:
    // For subclasses that own the stream they buffer.
    explicit TS_BufferStream(std::unique_ptr<TStream> owned);

private:
    bool FlushBuffer();
    std::int64_t LogicalPosition() const;

    std::unique_ptr<TStream> owned_;
    TStream& stream_;
    std::vector<std::uint8_t> buffer_;
    std::size_t current_ = 0;  // next byte to read, or number of bytes buffered for writing
    std::size_t end_ = 0;      // end of the bytes read into the buffer
    TBufferState state_ = TBufferState::bsUnknown;
    std::int64_t streamPosition_ = 0;  // where the underlying stream stands
};

}  // namespace pelorin
