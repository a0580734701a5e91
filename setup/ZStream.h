// The compressed record stream: InflateStream between two callbacks, ReadBlock for
// the self-checking blocks of the setup description, and the zlib error classes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/ByteSource.h"
#include "core/Exception.h"

namespace pelorin {

class EZlibError : public Exception {
public:
    using Exception::Exception;
};

// "zlib: Compressed data is corrupted"
class EZlibDataError : public EZlibError {
public:
    EZlibDataError();
};

// "zlib: Internal error. Code %d"
class EZlibInternalError : public EZlibError {
public:
    explicit EZlibInternalError(int code);
    int Code() const { return code_; }

private:
    int code_;
};

// The file layer's read error: the file ended early or could not be read.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// Size of InflateStream's input and output buffers.
constexpr std::size_t InflateBufferSize = 32000;

// Each file's data in PELORIN.DAT starts with these 4 ASCII bytes.
constexpr char FileDataMagic[] = "zel8";
constexpr std::size_t FileDataMagicSize = 4;

// Size of a block header: HeaderCheck, StoredLength, DataLength, DataCheck.
constexpr std::size_t BlockHeaderSize = 16;
// StoredLength of a block whose payload is stored uncompressed.
constexpr std::int32_t StoredUncompressed = -1;

// Places up to capacity bytes of compressed input in buffer; returns how many, 0 at the end.
using InflateReadProc = std::size_t (*)(void* context, std::uint8_t* buffer, std::size_t capacity);
// Consumes up to count bytes; returning fewer than offered means the destination is full.
using InflateWriteProc = std::size_t (*)(void* context, const std::uint8_t* buffer, std::size_t count);

using InflateReader = std::function<std::size_t(std::uint8_t* buffer, std::size_t capacity)>;
using InflateWriter = std::function<std::size_t(const std::uint8_t* buffer, std::size_t count)>;

struct InflateResult {
    bool Completed = false;      // false: the writer accepted fewer bytes than offered
    std::uint32_t Checksum = 0;  // Adler-32 of every byte written; set only when Completed
};

// Decompresses one zlib stream (window bits 15). Raises EZlibDataError for corrupt data
// (also for a stream that ends before its end marker or is followed by more input),
// EZlibInternalError for other zlib failures and std::bad_alloc when zlib runs out of memory.
InflateResult InflateStream(InflateReadProc read, InflateWriteProc write, void* context);
InflateResult InflateStream(const InflateReader& read, const InflateWriter& write);

// Source and destination of an inflate run: a byte source or memory area with a count of
// bytes still to read, and a memory area or growing buffer with a count of
// bytes still allowed (NoLimit: no limit; no destination: the bytes are counted and
// dropped). Use as InflateStream(InflateAdaptor::Read, InflateAdaptor::Write, &adaptor).
class InflateAdaptor {
public:
    static constexpr std::int64_t NoLimit = -1;

    void ReadFrom(ByteSource& in, std::int64_t count);
    void ReadFrom(const std::uint8_t* data, std::size_t count);

    void WriteTo(std::uint8_t* dest, std::int64_t limit);
    void WriteTo(std::vector<std::uint8_t>& dest, std::int64_t limit);

    // Bytes handed to the destination so far.
    std::uint64_t Written() const { return written_; }

    static std::size_t Read(void* context, std::uint8_t* buffer, std::size_t capacity);
    static std::size_t Write(void* context, const std::uint8_t* buffer, std::size_t count);

private:
    ByteSource* inSource_ = nullptr;
    const std::uint8_t* inMemory_ = nullptr;
    std::int64_t inLeft_ = 0;

    std::uint8_t* outMemory_ = nullptr;
    std::vector<std::uint8_t>* outBuffer_ = nullptr;
    std::int64_t outLeft_ = NoLimit;
    std::uint64_t written_ = 0;
};

// Reads the next block at the source's position into dest, which holds exactly size
// bytes. Raises EZlibDataError for every mismatch and EReadError when the file ends
// inside the block. Afterwards the position is just past the block.
void ReadBlock(ByteSource& file, std::uint8_t* dest, std::size_t size);

// The same for a block of a size taken from the file: the buffer grows with the data
// actually delivered, so a corrupted size cannot make the reader reserve it up front.
std::vector<std::uint8_t> ReadBlock(ByteSource& file, std::size_t size);

// Adler-32 (RFC 1950) continuing from checksum (start with 1).
std::uint32_t Adler32(std::uint32_t checksum, const void* data, std::size_t size);

}  // namespace pelorin
