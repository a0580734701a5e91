// The minimal images of TestImage.h: headers at 0x80, the section table right behind the
// optional header, and a file grown to hold every section, the symbols and their strings.
#include "tests/core/update/TestImage.h"

#include <algorithm>

namespace pelorin::test {

namespace {

constexpr std::uint32_t kPeOffset = 0x80;
constexpr std::uint32_t kOptionalAt = kPeOffset + 24;
constexpr std::uint32_t kOptionalSize = 240;  // the larger PE32+ header with 16 directory entries

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

// Where NumberOfRvaAndSizes sits in the optional header; the directory follows it.
std::uint32_t DirectoryCountAt(const TestImageLayout& layout) { return kOptionalAt + (layout.pe32 ? 92 : 108); }

}  // namespace

std::uint32_t SecurityEntryOffset(const TestImageLayout& layout) { return DirectoryCountAt(layout) + 4 + 4 * 8; }

std::vector<std::uint8_t> MakeTestImage(const TestImageLayout& layout) {
    const std::uint32_t table = kPeOffset + 24 + kOptionalSize;
    std::size_t size = table + 40 * layout.sections.size();
    for (const TestSection& s : layout.sections) size = std::max<std::size_t>(size, s.rawOffset + s.rawSize);
    const std::uint32_t strings = layout.symbolTable + layout.symbolCount * 18;
    if (layout.symbolTable != 0) size = std::max<std::size_t>(size, strings + std::max(layout.stringTableSize, 4u));

    std::vector<std::uint8_t> image(size, 0xCC);
    std::fill(image.begin(), image.begin() + table + 40 * layout.sections.size(), 0);
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, kPeOffset);
    Put32(image, kPeOffset, 0x00004550);
    Put16(image, kPeOffset + 4, 0x8664);
    Put16(image, kPeOffset + 6, static_cast<std::uint32_t>(layout.sections.size()));
    Put32(image, kPeOffset + 12, layout.symbolTable);
    Put32(image, kPeOffset + 16, layout.symbolCount);
    Put16(image, kPeOffset + 20, kOptionalSize);
    Put16(image, kOptionalAt, layout.pe32 ? 0x10B : 0x20B);
    Put32(image, DirectoryCountAt(layout), layout.directoryEntries);
    Put32(image, SecurityEntryOffset(layout), layout.certificateOffset);
    Put32(image, SecurityEntryOffset(layout) + 4, layout.certificateSize);
    for (std::size_t i = 0; i < layout.sections.size(); ++i) {
        Put32(image, table + 40 * i + 16, layout.sections[i].rawSize);
        Put32(image, table + 40 * i + 20, layout.sections[i].rawOffset);
    }
    if (layout.symbolTable != 0) Put32(image, strings, layout.stringTableSize);
    return image;
}

}  // namespace pelorin::test
