// Writes blocks, whole setup descriptions and zlib streams in the layout that
// ReadBlock and LoadSetupDescription read.
#include "setup/BlockWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <ostream>

#include "core/WriteFailure.h"
#include "setup/ZStream.h"

namespace pelorin {
namespace {

constexpr std::size_t DeflateChunk = 64 * 1024;

// Owns a deflate stream (best compression, window bits 15) and ends it on every way out.
class Deflater {
public:
    explicit Deflater(int level = Z_BEST_COMPRESSION) {
        const int rc = deflateInit_(&z_, level, ZLIB_VERSION, static_cast<int>(sizeof(z_stream)));
        if (rc != Z_OK) throw EZlibInternalError(rc);
    }
    ~Deflater() { deflateEnd(&z_); }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Compresses count bytes (at most DeflateChunk), finishing the stream when asked,
    // and hands every produced piece to sink(data, size).
    template <class Sink>
    void Put(const std::uint8_t* data, std::size_t count, bool finish, Sink&& sink) {
        z_.next_in = const_cast<Bytef*>(data);
        z_.avail_in = static_cast<uInt>(count);
        std::uint8_t out[DeflateChunk];
        int rc = Z_OK;
        do {
            z_.next_out = out;
            z_.avail_out = sizeof out;
            rc = deflate(&z_, finish ? Z_FINISH : Z_NO_FLUSH);
            if (rc == Z_STREAM_ERROR) throw EZlibInternalError(rc);
            sink(out, sizeof out - z_.avail_out);
        } while (z_.avail_out == 0);
        if (finish && rc != Z_STREAM_END) throw EZlibInternalError(rc);
    }

private:
    z_stream z_{};
};

template <class R>
void AppendRecords(std::vector<std::uint8_t>& out, const std::vector<R>& list, BlockStorage storage) {
    for (const R& record : list) {
        const typename R::Bytes bytes = record.Encode();
        const std::vector<std::uint8_t> block = EncodeBlock(bytes.data(), bytes.size(), storage);
        out.insert(out.end(), block.begin(), block.end());
    }
}

template <class R>
std::int32_t CountOf(const std::vector<R>& list) {
    if (list.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw ERecordEncodeError("Too many records in one list");
    }
    return static_cast<std::int32_t>(list.size());
}

}  // namespace

std::vector<std::uint8_t> DeflateBytes(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    Deflater deflater;
    const auto sink = [&out](const std::uint8_t* p, std::size_t n) { out.insert(out.end(), p, p + n); };
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min(size - pos, DeflateChunk);
        deflater.Put(data + pos, n, pos + n == size, sink);
        pos += n;
    } while (pos < size);
    return out;
}

DeflateResult DeflateStream(std::istream& in, std::ostream& out, int level) {
    DeflateResult result;
    Deflater deflater(level);
    const auto sink = [&out, &result](const std::uint8_t* p, std::size_t n) {
        out.write(reinterpret_cast<const char*>(p), static_cast<std::streamsize>(n));
        if (!out) throw Exception("Error writing the compressed data" + WriteFailureSuffix());
        result.CompressedSize += n;
    };
    std::vector<std::uint8_t> buffer(DeflateChunk);
    for (;;) {
        in.read(reinterpret_cast<char*>(buffer.data()), static_cast<std::streamsize>(buffer.size()));
        const auto n = static_cast<std::size_t>(in.gcount());
        if (in.bad()) throw EReadError("Error reading the file to compress");
        const bool finish = n < buffer.size();
        result.UncompressedSize += n;
        result.Adler32 = Adler32(result.Adler32, buffer.data(), n);
        deflater.Put(buffer.data(), n, finish, sink);
        if (finish) return result;
    }
}

std::vector<std::uint8_t> EncodeBlock(const std::uint8_t* data, std::size_t size, BlockStorage storage) {
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw ERecordEncodeError("A block of " + std::to_string(size) + " bytes is too large");
    }
    std::vector<std::uint8_t> payload;
    std::int32_t storedLength = StoredUncompressed;
    if (storage == bsStored) {
        payload.assign(data, data + size);
    } else {
        payload = DeflateBytes(data, size);
        storedLength = static_cast<std::int32_t>(payload.size());
    }
    std::vector<std::uint8_t> block(BlockHeaderSize);
    PutLE32(block.data() + 4, static_cast<std::uint32_t>(storedLength));
    PutLE32(block.data() + 8, static_cast<std::uint32_t>(size));
    PutLE32(block.data() + 12, Adler32(1, data, size));
    PutLE32(block.data(), Adler32(1, block.data() + 4, 12));
    block.insert(block.end(), payload.begin(), payload.end());
    return block;
}

std::vector<std::uint8_t> EncodeSetupDescription(const SetupData& data, const DescriptionOptions& options) {
    SetupHeader header = data.Header;
    ForEachRecordList(header, data, [](std::int32_t& count, const auto& list) { count = CountOf(list); });
    const std::string license = data.License.value_or(std::string());
    if (license.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw ERecordEncodeError("The license text is too large");
    }
    header.LicenseSize = static_cast<std::int32_t>(license.size());

    std::vector<std::uint8_t> out(SetupMagic, SetupMagic + SetupMagicSize);
    AppendRecords(out, std::vector<SetupHeader>{header}, options.Storage);
    if (!license.empty()) {
        const std::vector<std::uint8_t> block =
            EncodeBlock(reinterpret_cast<const std::uint8_t*>(license.data()), license.size(), options.Storage);
        out.insert(out.end(), block.begin(), block.end());
    }
    ForEachRecordList(header, data,
                      [&out, &options](std::int32_t, const auto& list) { AppendRecords(out, list, options.Storage); });
    return out;
}

void WriteSetupDescription(const std::string& path, const SetupData& data, const DescriptionOptions& options) {
    const std::vector<std::uint8_t> bytes = EncodeSetupDescription(data, options);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) throw Exception("Cannot write the setup description \"" + path + "\"");
}

}  // namespace pelorin
