// The update program's archive: the bytes appended to its own file behind the image, read
// into memory for the zip component.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin {

// The archive behind the program's own image, up to a certificate table that a signed program
// carries at its end; raises the error the update run shows when the file cannot be read or
// carries nothing behind its image.
std::vector<std::uint8_t> ReadAppendedArchive(const std::string& programPath);

}  // namespace pelorin
