// TLFNFileStream: the buffered stream that owns its file stream.
// Long file names need nothing special here: the name goes to the system as it is.
#include "update/strings/LFNFileStream.h"

#include <memory>

#include "update/strings/FileStream.h"

namespace pelorin {

TLFNFileStream::TLFNFileStream(const std::string& fileName, std::uint16_t mode)
    : TS_BufferStream(std::make_unique<TFileStream>(fileName, mode)), fileName_(fileName) {}

}  // namespace pelorin
