// Measures how fast each decompression method decodes a few megabytes of mixed
// text and binary data, next to zlib's own inflate, and prints a table. With
// --archives DIR [MB] it writes one archive per method instead, for the programs' bench.
#include <zlib.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/core/unzip-methods/ZipFile.h"
#include "tests/core/unzip-methods/encoders/ImplodeEncoder.h"
#include "tests/core/unzip-methods/encoders/ReduceEncoder.h"
#include "tests/core/unzip-methods/encoders/ShrinkEncoder.h"
#include "update/unzip/Decoders.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kChunk = 16000;

class ChunkInput : public pelorin::DecodeInput {
public:
    explicit ChunkInput(const Bytes& data) : data_(data) {}
    std::size_t Fill(std::uint8_t* buffer, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, kChunk, data_.size() - position_});
        std::memcpy(buffer, data_.data() + position_, count);
        position_ += count;
        return count;
    }

private:
    const Bytes& data_;
    std::size_t position_ = 0;
};

// Collects into a 16000-byte buffer as the engine does, with a running CRC-32.
class EngineLikeOutput : public pelorin::DecodeOutput {
public:
    void Put(const std::uint8_t* data, std::size_t count) override {
        while (count > 0) {
            const std::size_t take = std::min(count, kChunk - held_);
            std::memcpy(buffer_ + held_, data, take);
            held_ += take;
            data += take;
            count -= take;
            total += take;
            if (held_ == kChunk) Flush();
        }
    }
    void ShowMessage(const char*, const char*) override {}
    void Flush() {
        crc = crc32(crc, buffer_, static_cast<uInt>(held_));
        held_ = 0;
    }
    std::uint64_t total = 0;
    uLong crc = crc32(0L, Z_NULL, 0);

private:
    std::uint8_t buffer_[kChunk];
    std::size_t held_ = 0;
};

// Text like the sources and help files of an update, with stretches of
// executable-like bytes (small values and zeros most common).
Bytes SampleData(std::size_t size) {
    static const char* const kWords[] = {"procedure ", "begin\r\n", "end;\r\n", "var ",  "integer", "TZarnix",
                                         "Result := ", "string",    "if ",      "then ", "else ",   "  "};
    Bytes out;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::uint32_t>(state >> 32);
    };
    while (out.size() < size) {
        if (next() % 16 == 0) {
            const std::size_t run = 64 + next() % 256;
            for (std::size_t i = 0; i < run; ++i) {
                const std::uint32_t r = next();
                out.push_back(r % 3 == 0 ? 0 : static_cast<std::uint8_t>((r >> 8) % (1u << (r % 9))));
            }
        }
        const char* word = kWords[next() % 12];
        out.insert(out.end(), word, word + std::strlen(word));
    }
    out.resize(size);
    return out;
}

Bytes RawDeflate(const Bytes& input) {
    z_stream stream{};
    deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&stream, static_cast<uLong>(input.size())));
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Best of several runs, in MB of decoded output per second of processor time
// (the build machines are shared, so wall-clock time says little).
double Measure(const std::function<std::uint64_t()>& run, std::size_t expected, bool& ok) {
    double best = 0;
    for (int i = 0; i < 5; ++i) {
        const std::clock_t start = std::clock();
        const std::uint64_t produced = run();
        const double seconds = std::max(1e-6, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
        ok = ok && produced == expected;
        best = std::max(best, static_cast<double>(expected) / 1e6 / seconds);
    }
    return best;
}

struct Row {
    std::string name;
    std::uint16_t method;
    std::uint16_t flags;
    Bytes data;
};

// One archive per row, holding the sample as a single entry named DATA.BIN.
void WriteArchives(const std::string& folder, const std::vector<Row>& rows, const Bytes& input, uLong crc) {
    const char* const files[] = {"shrunk",   "reduced2",    "reduced3",    "reduced4",
                                 "reduced5", "imploded-4k", "imploded-8k", "deflated"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        pelorin::test::ZipEntry entry;
        entry.name = "DATA.BIN";
        entry.method = rows[i].method;
        entry.flags = rows[i].flags;
        entry.crc = static_cast<std::uint32_t>(crc);
        entry.uncompressedSize = input.size();
        entry.data = rows[i].data;
        pelorin::test::WriteFile(folder + "/" + files[i] + ".zip", pelorin::test::WriteZip({entry}));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool archives = argc >= 3 && std::string(argv[1]) == "--archives";
    const std::size_t megabytes = archives && argc >= 4 ? std::stoul(argv[3]) : 4;
    const Bytes input = SampleData(megabytes * 1024 * 1024);
    const uLong expectedCrc = crc32(crc32(0L, Z_NULL, 0), input.data(), static_cast<uInt>(input.size()));
    std::vector<Row> rows;
    rows.push_back({"shrunk (1)", 1, 0, pelorin::test::Shrink(input).data});
    for (unsigned factor = 1; factor <= 4; ++factor) {
        pelorin::test::ReduceOptions options;
        options.factor = factor;
        rows.push_back({"reduced (" + std::to_string(factor + 1) + ")", static_cast<std::uint16_t>(factor + 1), 0,
                        pelorin::test::Reduce(input, options)});
    }
    for (const bool large : {false, true}) {
        const pelorin::test::ImplodeOptions options{large, large};
        rows.push_back({std::string("imploded (6) ") + (large ? "8K, 3 trees" : "4K, 2 trees"), 6,
                        pelorin::test::ImplodeFlags(options), pelorin::test::Implode(input, options)});
    }
    rows.push_back({"deflated (8)", 8, 0, RawDeflate(input)});
    if (archives) {
        WriteArchives(argv[2], rows, input, expectedCrc);
        return 0;
    }

    std::printf("%-28s %12s %12s %10s\n", "method", "packed MB", "plain MB", "MB/s");
    Bytes window(pelorin::kWindowBufferSize);
    bool allOk = true;
    for (const Row& row : rows) {
        bool ok = true;
        const double speed = Measure(
            [&] {
                ChunkInput in(row.data);
                EngineLikeOutput out;
                const pelorin::DecodeJob job{row.method, row.flags, row.data.size(), input.size()};
                pelorin::DecodeEntry(job, in, out, window.data());
                out.Flush();
                ok = ok && out.crc == expectedCrc;
                return out.total;
            },
            input.size(), ok);
        std::printf("%-28s %12.2f %12.2f %10.1f%s\n", row.name.c_str(), row.data.size() / 1e6, input.size() / 1e6,
                    speed, ok ? "" : "  WRONG OUTPUT");
        allOk = allOk && ok;
    }
    // The peer: zlib's raw inflate on the same deflated data.
    const Bytes& deflated = rows.back().data;
    Bytes plain(input.size());
    bool zlibOk = true;
    const double zlibSpeed = Measure(
        [&] {
            z_stream stream{};
            inflateInit2(&stream, -15);
            stream.next_in = const_cast<Bytef*>(deflated.data());
            stream.avail_in = static_cast<uInt>(deflated.size());
            stream.next_out = plain.data();
            stream.avail_out = static_cast<uInt>(plain.size());
            inflate(&stream, Z_FINISH);
            const std::uint64_t produced = stream.total_out;
            inflateEnd(&stream);
            return produced;
        },
        input.size(), zlibOk);
    std::printf("%-28s %12.2f %12.2f %10.1f\n", "zlib inflate (peer)", deflated.size() / 1e6, input.size() / 1e6,
                zlibSpeed);
    return allOk && zlibOk ? 0 : 1;
}
