// TMemoryStream: a stream over bytes held in memory, growing as it is written.
// An archive handed to the zip component as ArchiveStream is usually one of these.
#pragma once

#include <cstdint>
#include <vector>

#include "update/strings/Stream.h"

namespace pelorin {

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::string ClassName() const override { return "TMemoryStream"; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, int origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(bytes_.size()); }

    void SetSize(std::size_t size);
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};

}  // namespace pelorin
