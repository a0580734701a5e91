// TStream: size by seeking, checked reads and writes, and the seek target rules.
// The seek rules are shared by the memory and file streams.
#include "update/strings/Stream.h"

#include "core/TextFormat.h"
#include "update/strings/StreamMessages.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

std::int64_t TStream::Size() {
    const std::int64_t position = Seek(0, soFromCurrent);
    const std::int64_t size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    if (Read(buffer, count) != count) throw EStreamError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (Write(buffer, count) != count) RaiseWriteError(*this);
}

void RaiseWriteError(const TStream& stream) {
    const std::string reason = stream.WriteFailure();
    throw EStreamError(reason.empty() ? std::string("Stream write error") : "Stream write error: " + reason);
}

std::int64_t SeekTarget(std::int64_t offset, int origin, std::int64_t position, std::int64_t size) {
    std::int64_t target = 0;
    switch (origin) {
    case soFromBeginning: target = offset; break;
    case soFromCurrent: target = position + offset; break;
    case soFromEnd: target = size + offset; break;
    default: throw EStreamError(FormatText(StreamMessage(kInvalidSeekOrigin), origin));
    }
    if (target < 0) throw EStreamError(StreamMessage(kSeekError));
    return target;
}

}  // namespace pelorin
