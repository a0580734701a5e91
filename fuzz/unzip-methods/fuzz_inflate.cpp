// libFuzzer target: the inflate decoder on arbitrary data, checked against zlib's raw inflate
// wherever zlib finds the data sound up to the entry's size.
#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "fuzz/unzip-methods/FuzzDecode.h"

namespace {

class KeepingOutput : public pelorin::DecodeOutput {
public:
    void Put(const std::uint8_t* data, std::size_t count) override { bytes.insert(bytes.end(), data, data + count); }
    void ShowMessage(const char*, const char*) override {}
    std::vector<std::uint8_t> bytes;
};

// zlib's output for the stream, or nothing when it reports damage or runs out of input
// before the size is reached.
bool InflateWithZlib(const std::uint8_t* data, std::size_t size, std::size_t limit, std::vector<std::uint8_t>& out) {
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK) return false;
    out.assign(limit, 0);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(limit);
    const int status = limit == 0 ? Z_OK : inflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return status == Z_STREAM_END || (status == Z_BUF_ERROR && stream.avail_out == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::uint16_t kMethods[] = {8};
    pelorin::fuzz::RunDecoder(data, size, kMethods, sizeof kMethods / sizeof kMethods[0]);
    if (size < 4) return 0;

    // The same entry again, its output kept, against zlib.
    pelorin::DecodeJob job;
    job.method = 8;
    job.uncompressedSize = data[1] | std::uint64_t{data[2]} << 8 | std::uint64_t(data[3] & 0x0F) << 16;
    job.compressedSize = size - 4;
    std::vector<std::uint8_t> expected;
    if (job.uncompressedSize == 0 || !InflateWithZlib(data + 4, size - 4, job.uncompressedSize, expected)) return 0;
    pelorin::fuzz::SliceInput input(data + 4, size - 4);
    KeepingOutput output;
    std::vector<std::uint8_t> window(pelorin::kWindowBufferSize);
    pelorin::DecodeEntry(job, input, output, window.data());
    if (output.bytes != expected) std::abort();
    return 0;
}
