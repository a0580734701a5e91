// Shared helpers of the decoder tests: checksum, one-call decoding and sample data.
#include "tests/core/unzip-methods/TestIO.h"

#include <zlib.h>

#include "update/unzip/Decoders.h"

namespace pelorin::test {

std::uint32_t Crc32(const Bytes& data) {
    return static_cast<std::uint32_t>(crc32(0L, data.data(), static_cast<uInt>(data.size())));
}

Bytes Decode(std::uint16_t method, std::uint16_t flags, const Bytes& data, std::uint64_t uncompressedSize) {
    MemoryInput input(data);
    CollectingOutput output;
    std::vector<std::uint8_t> window(kWindowBufferSize);
    DecodeJob job;
    job.method = method;
    job.flags = flags;
    job.compressedSize = data.size();
    job.uncompressedSize = uncompressedSize;
    DecodeEntry(job, input, output, window.data());
    return output.bytes;
}

namespace {

std::uint32_t NextRandom(std::uint32_t& state) {
    state = state * 1103515245u + 12345u;
    return state >> 8;
}

}  // namespace

Bytes SampleText(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {"unit",  "procedure", "begin", "end;",   "var",    "integer",
                                         "const", "TZarnix",   "Self",  "Result", "string", "if",
                                         "then",  "else",      "while", "do",     "\r\n",   "  "};
    Bytes out;
    std::uint32_t state = seed;
    while (out.size() < size) {
        const char* word = kWords[NextRandom(state) % (sizeof kWords / sizeof kWords[0])];
        out.insert(out.end(), word, word + std::strlen(word));
        out.push_back(NextRandom(state) % 7 == 0 ? '\n' : ' ');
        if (NextRandom(state) % 50 == 0) {
            out.push_back(static_cast<std::uint8_t>(NextRandom(state)));  // an odd byte now and then
        }
    }
    out.resize(size);
    return out;
}

Bytes SampleNoise(std::size_t size, std::uint32_t seed) {
    Bytes out(size);
    std::uint32_t state = seed;
    for (auto& byte : out) byte = static_cast<std::uint8_t>(NextRandom(state));
    return out;
}

}  // namespace pelorin::test
