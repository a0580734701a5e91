// The decompression methods the extraction engine hands entries to: stored, shrunk,
// reduced, imploded and deflated, all through one signature. Unknown methods stay with the engine.
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

using Decoder = void (*)(const DecodeJob& job, DecodeInput& input, DecodeOutput& output, std::uint8_t* window);

// CopyStored for a stored entry, DecodeEntry for a compressed one, none for a method not known here.
Decoder FindDecoder(std::uint16_t method);

}  // namespace pelorin
