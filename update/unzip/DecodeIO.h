// The contract between the extraction engine and the decompression methods:
// where a decoder reads compressed bytes from and where it hands decoded bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelorin {

// The engine's input reader: refills in chunks of at most 16000 bytes, decrypts,
// runs pending messages, asks for the next disk. Raises the engine's errors
// (premature end, user cancel); returns 0 only when the entry's compressed
// bytes are used up.
class DecodeInput {
public:
    virtual ~DecodeInput() = default;
    virtual std::size_t Fill(std::uint8_t* buffer, std::size_t capacity) = 0;
};

// The engine's output writer: collects bytes in its 16000-byte buffer, checks
// the uncompressed size (raising EBiggerThanUncompressed), updates the CRC-32
// and fires the progress events.
class DecodeOutput {
public:
    virtual ~DecodeOutput() = default;
    virtual void Put(const std::uint8_t* data, std::size_t count) = 0;
    // A message box the decoder must show (for example when memory runs out).
    virtual void ShowMessage(const char* text, const char* caption) = 0;
};

// What a decoder needs to know about the entry.
struct DecodeJob {
    std::uint16_t method = 0;          // as stored: a ZipMethod, or a number not known here
    std::uint16_t flags = 0;           // general purpose flags (implode: bits 1 and 2)
    std::uint64_t compressedSize = 0;  // without the 12-byte encryption header
    std::uint64_t uncompressedSize = 0;
};

// The engine's input hands out at most this many bytes a refill, and its output writes
// buffers of this size.
constexpr std::size_t kDataChunkSize = 16000;

// Size of the engine's window buffer shared by the sliding-dictionary methods.
constexpr std::size_t kWindowBufferSize = 32780;

}  // namespace pelorin
