// The engine's output writer for one entry: collects decoded bytes in the 16000-byte output
// buffer, writes them to the target file, keeps the running CRC-32 and reports each write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/OsServices.h"
#include "update/strings/Stream.h"
#include "update/unzip/DecodeIO.h"

namespace pelorin {

class EntryWriter : public DecodeOutput {
public:
    // Called after every write with the bytes just written and all written for the entry.
    using WriteNotice = std::function<void(std::size_t written, std::int64_t entryWritten)>;

    EntryWriter(TStream& file, std::uint8_t* buffer, std::int64_t uncompressedSize, OsServices& os,
                WriteNotice onWrite);

    // Raises EBiggerThanUncompressed before a write that would pass the uncompressed size.
    void Put(const std::uint8_t* data, std::size_t count) override;
    void ShowMessage(const char* text, const char* caption) override;
    // Writes what the buffer still holds.
    void Finish();

    std::uint32_t RunningCrc() const { return crc_; }
    std::int64_t Written() const { return written_; }

private:
    void Write(const std::uint8_t* data, std::size_t n);

    TStream& file_;
    std::uint8_t* buffer_;
    std::size_t used_ = 0;
    std::int64_t uncompressedSize_;
    std::int64_t written_ = 0;
    std::uint32_t crc_;
    OsServices& os_;
    WriteNotice onWrite_;
};

}  // namespace pelorin
