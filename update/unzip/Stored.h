// Method 0, stored: the entry's bytes are handed on as they are.
// It has the decoders' shape, so the engine treats every method alike.
#pragma once

#include <cstdint>

#include "update/unzip/DecodeIO.h"

namespace pelorin {

// Copies every compressed byte of the entry to output, through window in input-sized chunks;
// the output's size check stops an entry longer than it says.
void CopyStored(const DecodeJob& job, DecodeInput& input, DecodeOutput& output, std::uint8_t* window);

}  // namespace pelorin
