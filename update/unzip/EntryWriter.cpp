// The entry writer: size check, CRC-32 and progress notice per buffer written.
// The size check comes before the write: nothing past the uncompressed size reaches the file.
#include "update/unzip/EntryWriter.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "update/unzip/Crc32.h"
#include "update/unzip/EntryReader.h"
#include "update/unzip/UnzipErrors.h"

namespace pelorin {

EntryWriter::EntryWriter(TStream& file, std::uint8_t* buffer, std::int64_t uncompressedSize, OsServices& os,
                         WriteNotice onWrite)
    : file_(file),
      buffer_(buffer),
      uncompressedSize_(uncompressedSize),
      crc_(kCrcStart),
      os_(os),
      onWrite_(std::move(onWrite)) {}

// Whole buffers are written straight from the caller's data: the same writes, one copy fewer.
void EntryWriter::Put(const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        if (used_ == 0 && count >= kDataChunkSize) {
            Write(data, kDataChunkSize);
            data += kDataChunkSize;
            count -= kDataChunkSize;
            continue;
        }
        const std::size_t n = std::min(count, kDataChunkSize - used_);
        std::memcpy(buffer_ + used_, data, n);
        used_ += n;
        data += n;
        count -= n;
        if (used_ == kDataChunkSize) Write(buffer_, std::exchange(used_, 0));
    }
}

void EntryWriter::ShowMessage(const char* text, const char* caption) {
    os_.ShowMessageBox(text, caption, TMsgButtons::mbOK);
}

void EntryWriter::Finish() {
    if (used_ > 0) Write(buffer_, std::exchange(used_, 0));
}

void EntryWriter::Write(const std::uint8_t* data, std::size_t n) {
    if (written_ + static_cast<std::int64_t>(n) > uncompressedSize_) {
        throw EBiggerThanUncompressed("File is larger than uncompressed size!");
    }
    file_.WriteBuffer(data, n);
    crc_ = UpdateCrc32(crc_, data, n);
    written_ += static_cast<std::int64_t>(n);
    if (onWrite_) onWrite_(n, written_);
}

}  // namespace pelorin
