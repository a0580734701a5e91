// Portable reader of Windows images (PE32 and PE32+): file header, sections and
// the resource tree. Every offset is checked, so damaged files are safe to read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelorin {

class PeImage {
public:
    using Bytes = std::vector<std::uint8_t>;

    // Empty when the bytes are not a well-formed image.
    static std::optional<PeImage> Parse(Bytes bytes);

    std::uint16_t MachineCode() const { return machine_; }
    bool IsPe32Plus() const { return pe32Plus_; }

    // Data of the resource type/id, first language found; an absent id takes the
    // first entry of that type. Empty when there is none or the tree is damaged.
    std::optional<Bytes> Resource(std::uint32_t type, std::optional<std::uint32_t> id) const;

private:
    struct Section {
        std::uint32_t virtualAddress;
        std::uint32_t virtualSize;
        std::uint32_t rawOffset;
        std::uint32_t rawSize;
    };

    PeImage() = default;
    std::optional<std::uint32_t> FileOffset(std::uint32_t rva, std::uint32_t length) const;
    std::optional<std::uint32_t> FindEntry(std::uint32_t dirOffset, std::optional<std::uint32_t> id,
                                           bool wantDirectory) const;

    Bytes bytes_;
    std::uint16_t machine_ = 0;
    bool pe32Plus_ = false;
    std::uint32_t headersSize_ = 0;
    std::vector<Section> sections_;
    std::uint32_t resourceRva_ = 0;
    std::uint32_t resourceSize_ = 0;
};

// Reads a whole file into memory; throws BuildError naming the file when it cannot.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);

}  // namespace pelorin
