// The length of a Windows program's own image, read from its headers: where the raw data of
// its sections (and a symbol table, when one was kept) end. Data appended to a program start there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Exception.h"

namespace pelorin {

// Raised when the bytes are not a Windows image whose headers can be followed.
class EBadImage : public Exception {
public:
    using Exception::Exception;
};

// data holds the whole file (size bytes); the result is at most size.
std::uint64_t ImageLength(const std::uint8_t* data, std::size_t size);

}  // namespace pelorin
