// The decompression methods the extraction engine hands compressed entries to:
// shrunk, reduced, imploded and deflated. Stored and unknown methods stay with the engine.
#pragma once

#include <cstdint>

#include "update/unzip/DecodeIO.h"

namespace pelorin {

// True for the methods DecodeEntry handles: 1 to 6 and 8.
bool IsDecoderMethod(std::uint16_t method);

// Decodes one entry from input to output, producing at most the entry's
// uncompressed size; window is the engine's kWindowBufferSize-byte buffer.
// Damaged data end the decoding quietly (the engine's CRC-32 check reports
// them); errors raised by input or output propagate. Other methods produce nothing.
void DecodeEntry(const DecodeJob& job, DecodeInput& input, DecodeOutput& output, std::uint8_t* window);

}  // namespace pelorin
