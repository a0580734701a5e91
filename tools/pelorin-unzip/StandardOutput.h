// Standard output as a write-only stream for pelorin-unzip -p: bytes go out unchanged
// (binary mode on Windows, so no line ends are rewritten) and cannot be read or sought.
#pragma once

#include <cstdio>
#include <string>

#include "update/strings/Stream.h"

namespace pelorin {

class StandardOutput : public TStream {
public:
    StandardOutput();

    std::string ClassName() const override { return "StandardOutput"; }

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    // Only tells the position (offset 0 from the current one); anything else raises.
    std::int64_t Seek(std::int64_t offset, int origin) override;
    // Raises when what is still buffered cannot be written.
    void Flush();

private:
    std::int64_t written_ = 0;
};

}  // namespace pelorin
