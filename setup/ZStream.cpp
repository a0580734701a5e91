// InflateStream over zlib, the source/destination adaptor and ReadBlock with its
// checks on the self-checking blocks of the setup description.
#include "setup/ZStream.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "setup/Struct.h"

namespace pelorin {

EZlibDataError::EZlibDataError() : EZlibError("zlib: Compressed data is corrupted") {}

EZlibInternalError::EZlibInternalError(int code)
    : EZlibError("zlib: Internal error. Code " + std::to_string(code)), code_(code) {}

std::uint32_t Adler32(std::uint32_t checksum, const void* data, std::size_t size) {
    const Bytef* p = static_cast<const Bytef*>(data);
    uLong sum = checksum;
    // zlib takes at most uInt bytes per call.
    constexpr std::size_t chunk = 1u << 30;
    while (size > 0) {
        const std::size_t n = std::min(size, chunk);
        sum = adler32(sum, p, static_cast<uInt>(n));
        p += n;
        size -= n;
    }
    return static_cast<std::uint32_t>(sum);
}

namespace {

// zlib's memory requests go to the heap; a failed request returns null to zlib.
voidpf ZAlloc(voidpf, uInt items, uInt size) { return std::calloc(items, size); }
void ZFree(voidpf, voidpf address) { std::free(address); }

// Owns an initialised inflate stream and ends it on every way out.
class InflateState {
public:
    InflateState() {
        z_.zalloc = ZAlloc;
        z_.zfree = ZFree;
        z_.opaque = Z_NULL;
        const int rc = inflateInit_(&z_, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
        if (rc == Z_MEM_ERROR) throw std::bad_alloc();
        if (rc != Z_OK) throw EZlibInternalError(rc);
        active_ = true;
    }
    ~InflateState() {
        if (active_) inflateEnd(&z_);
    }
    InflateState(const InflateState&) = delete;
    InflateState& operator=(const InflateState&) = delete;

    z_stream& z() { return z_; }

    void End() {
        active_ = false;
        const int rc = inflateEnd(&z_);
        if (rc != Z_OK) throw EZlibInternalError(rc);
    }

private:
    z_stream z_{};
    bool active_ = false;
};

std::size_t Fill(InflateReadProc read, void* context, std::uint8_t* buffer) {
    const std::size_t n = read(context, buffer, InflateBufferSize);
    if (n > InflateBufferSize) throw Exception("The read callback returned more bytes than its buffer holds");
    return n;
}

void CheckInflateResult(int rc, bool inputDone) {
    switch (rc) {
    case Z_OK:
    case Z_STREAM_END: return;
    case Z_DATA_ERROR:
    // Our streams never use a preset dictionary: a header asking for one is corrupt
    // data, not a failure inside zlib.
    case Z_NEED_DICT: throw EZlibDataError();
    case Z_MEM_ERROR: throw std::bad_alloc();
    case Z_BUF_ERROR:
        // No progress with the input exhausted: the stream was cut short.
        if (inputDone) throw EZlibDataError();
        throw EZlibInternalError(rc);
    default: throw EZlibInternalError(rc);
    }
}

struct FunctionPair {
    const InflateReader* read;
    const InflateWriter* write;
};

std::size_t CallReader(void* context, std::uint8_t* buffer, std::size_t capacity) {
    return (*static_cast<FunctionPair*>(context)->read)(buffer, capacity);
}

std::size_t CallWriter(void* context, const std::uint8_t* buffer, std::size_t count) {
    return (*static_cast<FunctionPair*>(context)->write)(buffer, count);
}

}  // namespace

// Besides zlib's own errors, two malformed inputs are corrupted data:
//  - input that ends before zlib has seen the end of the stream (a stored length
//    shorter than the stream): otherwise a cut stream would pass unverified;
//  - input left over after the end of the stream (a stored length longer than the
//    stream): otherwise inflate would be called again without ever making progress.
// Running out of input does not end the loop by itself: zlib may still hold output
// for more buffers, which is drained until it reports the end of the stream.
InflateResult InflateStream(InflateReadProc read, InflateWriteProc write, void* context) {
    std::vector<std::uint8_t> input(InflateBufferSize);
    std::vector<std::uint8_t> output(InflateBufferSize);
    InflateState state;
    z_stream& z = state.z();
    bool inputDone = false;

    for (;;) {
        if (z.avail_in == 0 && !inputDone) {
            const std::size_t n = Fill(read, context, input.data());
            inputDone = n == 0;
            z.next_in = input.data();
            z.avail_in = static_cast<uInt>(n);
        }
        z.next_out = output.data();
        z.avail_out = static_cast<uInt>(InflateBufferSize);
        const int rc = inflate(&z, Z_PARTIAL_FLUSH);
        CheckInflateResult(rc, inputDone);

        const std::size_t produced = InflateBufferSize - z.avail_out;
        if (produced > 0 && write(context, output.data(), produced) < produced) {
            state.End();
            return {false, 0};
        }
        if (rc == Z_STREAM_END) break;
        if (inputDone && produced == 0) throw EZlibDataError();
    }

    if (z.avail_in != 0 || (!inputDone && Fill(read, context, input.data()) != 0)) throw EZlibDataError();
    // zlib keeps the running Adler-32 of all output for its trailer check; taking it
    // spares a second pass over every byte.
    const auto checksum = static_cast<std::uint32_t>(z.adler);
    state.End();
    return {true, checksum};
}

InflateResult InflateStream(const InflateReader& read, const InflateWriter& write) {
    FunctionPair pair{&read, &write};
    return InflateStream(CallReader, CallWriter, &pair);
}

void InflateAdaptor::ReadFrom(ByteSource& in, std::int64_t count) {
    inSource_ = &in;
    inMemory_ = nullptr;
    inLeft_ = std::max<std::int64_t>(count, 0);
}

void InflateAdaptor::ReadFrom(const std::uint8_t* data, std::size_t count) {
    inSource_ = nullptr;
    inMemory_ = data;
    inLeft_ = static_cast<std::int64_t>(count);
}

void InflateAdaptor::WriteTo(std::uint8_t* dest, std::int64_t limit) {
    outMemory_ = dest;
    outBuffer_ = nullptr;
    outLeft_ = limit;
}

void InflateAdaptor::WriteTo(std::vector<std::uint8_t>& dest, std::int64_t limit) {
    outMemory_ = nullptr;
    outBuffer_ = &dest;
    outLeft_ = limit;
}

std::size_t InflateAdaptor::Read(void* context, std::uint8_t* buffer, std::size_t capacity) {
    InflateAdaptor& a = *static_cast<InflateAdaptor*>(context);
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(capacity), a.inLeft_));
    if (n == 0) return 0;
    if (a.inSource_) {
        if (a.inSource_->Read(buffer, n) != n) throw EReadError("Read beyond end of file");
    } else {
        std::memcpy(buffer, a.inMemory_, n);
        a.inMemory_ += n;
    }
    a.inLeft_ -= static_cast<std::int64_t>(n);
    return n;
}

std::size_t InflateAdaptor::Write(void* context, const std::uint8_t* buffer, std::size_t count) {
    InflateAdaptor& a = *static_cast<InflateAdaptor*>(context);
    const std::size_t n =
        a.outLeft_ == NoLimit
            ? count
            : static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(count), a.outLeft_));
    if (n > 0) {
        if (a.outMemory_) {
            std::memcpy(a.outMemory_, buffer, n);
            a.outMemory_ += n;
        } else if (a.outBuffer_) {
            a.outBuffer_->insert(a.outBuffer_->end(), buffer, buffer + n);
        }
    }
    if (a.outLeft_ != NoLimit) a.outLeft_ -= static_cast<std::int64_t>(n);
    a.written_ += n;
    return n;
}

namespace {

// Reads one block into the destination already set on `adaptor`.
// A StoredLength below -1 is corrupted data, like every other mismatch.
void ReadBlockInto(ByteSource& file, InflateAdaptor& adaptor, std::size_t size) {
    std::uint8_t header[BlockHeaderSize];
    if (file.Read(header, BlockHeaderSize) != BlockHeaderSize) throw EReadError("Read beyond end of file");
    const std::uint32_t headerCheck = GetLE32(header);
    const auto storedLength = static_cast<std::int32_t>(GetLE32(header + 4));
    const auto dataLength = static_cast<std::int32_t>(GetLE32(header + 8));
    const std::uint32_t dataCheck = GetLE32(header + 12);

    if (dataLength < 0 || static_cast<std::uint64_t>(dataLength) != size) throw EZlibDataError();
    if (Adler32(1, header + 4, 12) != headerCheck) throw EZlibDataError();

    std::uint32_t checksum = 1;
    if (storedLength == StoredUncompressed) {
        adaptor.ReadFrom(file, static_cast<std::int64_t>(size));
        std::vector<std::uint8_t> chunk(std::min(size, InflateBufferSize));
        for (;;) {
            const std::size_t n = InflateAdaptor::Read(&adaptor, chunk.data(), chunk.size());
            if (n == 0) break;
            checksum = Adler32(checksum, chunk.data(), n);
            InflateAdaptor::Write(&adaptor, chunk.data(), n);
        }
    } else {
        if (storedLength < 0) throw EZlibDataError();
        adaptor.ReadFrom(file, storedLength);
        const InflateResult result = InflateStream(InflateAdaptor::Read, InflateAdaptor::Write, &adaptor);
        // A stream that yields more than size bytes, or fewer, is rejected here;
        // the data checksum alone could be matched by a shorter output.
        if (!result.Completed || adaptor.Written() != size) throw EZlibDataError();
        checksum = result.Checksum;
    }
    if (checksum != dataCheck) throw EZlibDataError();
}

}  // namespace

void ReadBlock(ByteSource& file, std::uint8_t* dest, std::size_t size) {
    InflateAdaptor adaptor;
    adaptor.WriteTo(dest, static_cast<std::int64_t>(size));
    ReadBlockInto(file, adaptor, size);
}

std::vector<std::uint8_t> ReadBlock(ByteSource& file, std::size_t size) {
    std::vector<std::uint8_t> data;
    InflateAdaptor adaptor;
    adaptor.WriteTo(data, static_cast<std::int64_t>(size));
    ReadBlockInto(file, adaptor, size);
    return data;
}

}  // namespace pelorin
