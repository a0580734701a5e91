// TFileStream: open modes mapped to the system's access and share modes.
// Failures to open, create or seek raise stream errors with their message texts.
#include "update/strings/FileStream.h"

#include "core/TextFormat.h"
#include "update/strings/StreamMessages.h"
#include "update/strings/StringsErrors.h"

namespace pelorin {

namespace {

TFileAccess Access(std::uint16_t mode) {
    switch (mode & 0x0F) {
    case fmOpenWrite: return TFileAccess::faWrite;
    case fmOpenReadWrite: return TFileAccess::faReadWrite;
    default: return TFileAccess::faRead;
    }
}

TFileShare Share(std::uint16_t mode) {
    switch (mode & 0xF0) {
    case fmShareExclusive: return TFileShare::fsExclusive;
    case fmShareDenyWrite: return TFileShare::fsDenyWrite;
    case fmShareDenyRead: return TFileShare::fsDenyRead;
    case fmShareDenyNone: return TFileShare::fsDenyNone;
    default: return TFileShare::fsExclusive;
    }
}

}  // namespace

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) : fileName_(fileName) {
    if (mode == fmCreate) {
        file_ = OsFile::Create(fileName);
        if (!file_.IsOpen()) throw EFCreateError(FormatText("Cannot create file %s", fileName));
        return;
    }
    file_ = OsFile::Open(fileName, Access(mode), Share(mode));
    if (!file_.IsOpen()) throw EFOpenError(FormatText("Cannot open file %s", fileName));
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) { return file_.Read(buffer, count); }

std::size_t TFileStream::Write(const void* buffer, std::size_t count) { return file_.Write(buffer, count); }

std::int64_t TFileStream::Seek(std::int64_t offset, int origin) {
    if (origin < soFromBeginning || origin > soFromEnd) {
        throw EStreamError(FormatText(StreamMessage(kInvalidSeekOrigin), origin));
    }
    const std::int64_t result = file_.Seek(offset, origin);
    if (result < 0) throw EStreamError(StreamMessage(kSeekError));
    return result;
}

std::int64_t TFileStream::Size() {
    const std::int64_t size = file_.Size();
    if (size < 0) throw EStreamError(StreamMessage(kSeekError));
    return size;
}

}  // namespace pelorin
