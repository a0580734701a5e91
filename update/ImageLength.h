// The length of a Windows program's own image, read from its headers: where the raw data of
// its sections (and a symbol table, when one was kept) end. Data appended to a program start there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/Exception.h"

namespace pelorin {

// Raised when the bytes are not a Windows image whose headers can be followed.
class EBadImage : public Exception {
public:
    using Exception::Exception;
};

// data holds the whole file (size bytes); the result is at most size.
std::uint64_t ImageLength(const std::uint8_t* data, std::size_t size);

// The security entry of the optional header's data directory: where a signed program keeps
// its certificate table, a file offset (not an address) and a size, both 0 when unsigned.
struct SecurityEntry {
    std::uint64_t at = 0;  // file offset of the entry itself (8 bytes)
    std::uint32_t tableOffset = 0;
    std::uint32_t tableSize = 0;
};

// Empty when the optional header has no room for the entry. Raises EBadImage like ImageLength.
std::optional<SecurityEntry> FindSecurityEntry(const std::uint8_t* data, std::size_t size);

// [start, end) of the bytes appended to a program.
struct AppendedRange {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
};

// From the end of the image to the end of the file, or to the certificate table when the
// program was signed after the data were appended: a table that lies behind the image and
// ends with the file. Raises EBadImage like ImageLength.
AppendedRange AppendedData(const std::uint8_t* data, std::size_t size);

}  // namespace pelorin
