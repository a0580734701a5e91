// Measures InflateStream (32000-byte buffers, callbacks, running Adler-32) against
// plain zlib inflate loops on the same mixed data, and prints a small table.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "setup/BlockWriter.h"
#include "setup/ZStream.h"

using namespace pelorin;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Segments of text, structured binary, zeros and noise, like a typical set of files.
Bytes MixedData(std::size_t size) {
    static const char* const words[] = {"install ", "the ",  "program ", "folder ",   "setup ",
                                        "wizard ",  "file ", "version ", "registry ", "of "};
    Bytes out;
    out.reserve(size);
    std::uint32_t x = 12345;
    const auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    while (out.size() < size) {
        const std::size_t run = 4096 + next() % 65536;
        const std::uint32_t kind = next() % 10;
        for (std::size_t i = 0; i < run && out.size() < size; ++i) {
            if (kind < 4) {  // text
                const char* w = words[next() % 10];
                out.insert(out.end(), w, w + std::strlen(w));
            } else if (kind < 7) {  // structured binary: small numbers, repeated codes
                out.push_back(static_cast<std::uint8_t>(next() % 4 == 0 ? next() : i % 16));
            } else if (kind < 9) {
                out.push_back(0);
            } else {  // incompressible
                out.push_back(static_cast<std::uint8_t>(next()));
            }
        }
    }
    out.resize(size);
    return out;
}

double Seconds(const std::function<void()>& run, int rounds) {
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void Check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("benchmark check failed: ") + what);
}

// The plain loop: the same 32000-byte buffers, output copied to memory.
void PlainLoop(const Bytes& z, Bytes& out, bool checksum, std::uint32_t& adler) {
    z_stream s{};
    Check(inflateInit(&s) == Z_OK, "inflateInit");
    std::vector<std::uint8_t> in(InflateBufferSize);
    std::vector<std::uint8_t> buf(InflateBufferSize);
    std::size_t pos = 0;
    std::size_t outPos = 0;
    adler = 1;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (s.avail_in == 0) {
            const std::size_t n = std::min(in.size(), z.size() - pos);
            std::memcpy(in.data(), z.data() + pos, n);
            pos += n;
            s.next_in = in.data();
            s.avail_in = static_cast<uInt>(n);
        }
        s.next_out = buf.data();
        s.avail_out = static_cast<uInt>(buf.size());
        rc = inflate(&s, Z_NO_FLUSH);
        Check(rc == Z_OK || rc == Z_STREAM_END, "inflate");
        const std::size_t produced = buf.size() - s.avail_out;
        std::memcpy(out.data() + outPos, buf.data(), produced);
        outPos += produced;
        if (checksum) adler = static_cast<std::uint32_t>(adler32(adler, buf.data(), static_cast<uInt>(produced)));
    }
    inflateEnd(&s);
    Check(outPos == out.size(), "size");
}

// One call over the whole input and output: the ceiling for zlib itself.
void OneShot(const Bytes& z, Bytes& out) {
    z_stream s{};
    Check(inflateInit(&s) == Z_OK, "inflateInit");
    s.next_in = const_cast<Bytef*>(z.data());
    s.avail_in = static_cast<uInt>(z.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    Check(inflate(&s, Z_FINISH) == Z_STREAM_END, "inflate");
    inflateEnd(&s);
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 32;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    const Bytes data = MixedData(megabytes << 20);
    const Bytes z = DeflateBytes(data.data(), data.size());
    const std::uint32_t expected = Adler32(1, data.data(), data.size());
    const double mb = static_cast<double>(data.size()) / (1 << 20);
    Bytes out(data.size());

    struct Row {
        const char* name;
        double seconds;
    };
    std::vector<Row> rows;

    rows.push_back({"InflateStream (adaptor, memory to memory)",
                    Seconds(
                        [&] {
                            InflateAdaptor a;
                            a.ReadFrom(z.data(), z.size());
                            a.WriteTo(out.data(), static_cast<std::int64_t>(out.size()));
                            const InflateResult r = InflateStream(InflateAdaptor::Read, InflateAdaptor::Write, &a);
                            Check(r.Completed && r.Checksum == expected, "InflateStream");
                        },
                        rounds)});
    rows.push_back({"plain loop, 32000-byte buffers + adler32", Seconds(
                                                                    [&] {
                                                                        std::uint32_t adler = 0;
                                                                        PlainLoop(z, out, true, adler);
                                                                        Check(adler == expected, "adler");
                                                                    },
                                                                    rounds)});
    rows.push_back({"plain loop, 32000-byte buffers", Seconds(
                                                          [&] {
                                                              std::uint32_t adler = 0;
                                                              PlainLoop(z, out, false, adler);
                                                          },
                                                          rounds)});
    rows.push_back({"one inflate call over everything", Seconds([&] { OneShot(z, out); }, rounds)});
    Check(out == data, "output");

    std::printf(
        "data: %.1f MB mixed, compressed %.1f MB (ratio %.3f, %.1f%% saved), zlib %s, best of %d\n", mb,
        static_cast<double>(z.size()) / (1 << 20), static_cast<double>(z.size()) / static_cast<double>(data.size()),
        100.0 * (1.0 - static_cast<double>(z.size()) / static_cast<double>(data.size())), zlibVersion(), rounds);
    std::printf("%-44s %10s %10s %9s\n", "method", "seconds", "MB/s", "relative");
    for (const Row& row : rows) {
        std::printf("%-44s %10.3f %10.1f %8.2fx\n", row.name, row.seconds, mb / row.seconds,
                    rows[2].seconds / row.seconds);
    }
    return 0;
}
