// TFileStream: a stream over a file opened by name with an open mode, closed with the stream.
// The open modes combine an access value with a share value.
#pragma once

#include <cstdint>
#include <string>

#include "platform/OsFile.h"
#include "update/strings/Stream.h"

namespace pelorin {

// Open modes: one access value combined with one share value, or fmCreate alone.
constexpr std::uint16_t fmCreate = 0xFFFF;
constexpr std::uint16_t fmOpenRead = 0x0000;
constexpr std::uint16_t fmOpenWrite = 0x0001;
constexpr std::uint16_t fmOpenReadWrite = 0x0002;
constexpr std::uint16_t fmShareExclusive = 0x0010;
constexpr std::uint16_t fmShareDenyWrite = 0x0020;
constexpr std::uint16_t fmShareDenyRead = 0x0030;
constexpr std::uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    // Raises "Cannot create file %s" or "Cannot open file %s" when the file cannot be had.
    TFileStream(const std::string& fileName, std::uint16_t mode);

    std::string ClassName() const override { return "TFileStream"; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::string WriteFailure() const override { return file_.WriteErrorText(); }
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::int64_t Size() override;

    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
    OsFile file_;
};

}  // namespace pelorin
