// Shared body of the decoder fuzz targets: the input's first four bytes choose
// the entry's flags and uncompressed size, the rest is the compressed data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "update/unzip/Decoders.h"

namespace pelorin::fuzz {

class SliceInput : public DecodeInput {
public:
    SliceInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t Fill(std::uint8_t* buffer, std::size_t capacity) override {
        // Small, uneven chunks move chunk boundaries through the data.
        std::size_t count = size_ - position_;
        count = count < capacity ? count : capacity;
        count = count < 997 ? count : 997;
        std::memcpy(buffer, data_ + position_, count);
        position_ += count;
        return count;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

class CountingOutput : public DecodeOutput {
public:
    void Put(const std::uint8_t* data, std::size_t count) override {
        volatile std::uint8_t sink = 0;
        for (std::size_t i = 0; i < count; ++i) sink = sink ^ data[i];  // touch every byte handed over
        total += count;
    }
    void ShowMessage(const char*, const char*) override {}
    std::uint64_t total = 0;
};

// Methods: the candidates the selector byte chooses among.
inline int RunDecoder(const std::uint8_t* data, std::size_t size, const std::uint16_t* methods, std::size_t count) {
    if (size < 4) return 0;
    DecodeJob job;
    job.method = methods[data[0] % count];
    job.flags = static_cast<std::uint16_t>(data[0] & 0x06);
    job.uncompressedSize = data[1] | std::uint64_t{data[2]} << 8 | std::uint64_t(data[3] & 0x0F) << 16;
    job.compressedSize = (data[0] & 0x80) != 0 ? 250000 : size - 4;  // reach the 8-bit distance table too
    SliceInput input(data + 4, size - 4);
    CountingOutput output;
    std::vector<std::uint8_t> window(kWindowBufferSize);
    DecodeEntry(job, input, output, window.data());
    if (output.total > job.uncompressedSize) std::abort();  // produced more than the entry holds
    return 0;
}

}  // namespace pelorin::fuzz
