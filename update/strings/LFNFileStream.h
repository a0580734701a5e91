// TLFNFileStream: a buffered stream over a file it opens by name and frees when destroyed;
// it reads the archives and writes the extracted files.
#pragma once

#include <cstdint>
#include <string>

#include "update/strings/BufferStream.h"

namespace pelorin {

class TLFNFileStream : public TS_BufferStream {
public:
    // Modes as for TFileStream (fmCreate, or fmOpenRead | fmShareDenyWrite ...).
    TLFNFileStream(const std::string& fileName, std::uint16_t mode);

    std::string ClassName() const override { return "TLFNFileStream"; }
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

}  // namespace pelorin
