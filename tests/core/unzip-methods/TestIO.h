// Test doubles for the engine's side of the decoder contract: compressed bytes
// served in chunks from memory, and decoded bytes collected with their hand-overs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "update/unzip/DecodeIO.h"

namespace pelorin::test {

using Bytes = std::vector<std::uint8_t>;

// Serves data in chunks of at most 16000 bytes. With failAtEnd set it raises
// the engine's premature-end error instead of returning 0 at the end, as the
// engine does when the archive is shorter than the entry's compressed size.
class MemoryInput : public DecodeInput {
public:
    explicit MemoryInput(const Bytes& data, bool failAtEnd = false) : data_(data), failAtEnd_(failAtEnd) {}

    std::size_t Fill(std::uint8_t* buffer, std::size_t capacity) override {
        ++fills_;
        const std::size_t count = std::min({capacity, std::size_t{16000}, data_.size() - position_});
        if (count == 0 && failAtEnd_) throw Exception("Premature end of file reached");
        std::memcpy(buffer, data_.data() + position_, count);
        position_ += count;
        return count;
    }

    int Fills() const { return fills_; }

private:
    const Bytes& data_;
    bool failAtEnd_;
    std::size_t position_ = 0;
    int fills_ = 0;
};

class CollectingOutput : public DecodeOutput {
public:
    void Put(const std::uint8_t* data, std::size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
        puts.push_back(count);
    }
    void ShowMessage(const char* text, const char* caption) override {
        messages.push_back(std::string(caption) + ": " + text);
    }

    Bytes bytes;
    std::vector<std::size_t> puts;
    std::vector<std::string> messages;
};

std::uint32_t Crc32(const Bytes& data);

// Runs DecodeEntry over data with a fresh window buffer.
Bytes Decode(std::uint16_t method, std::uint16_t flags, const Bytes& data, std::uint64_t uncompressedSize);

// Deterministic sample data: text-like with repeats, or noise.
Bytes SampleText(std::size_t size, std::uint32_t seed = 1);
Bytes SampleNoise(std::size_t size, std::uint32_t seed = 1);

}  // namespace pelorin::test
