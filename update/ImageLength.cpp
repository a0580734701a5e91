// Follows the DOS stub to the file header and walks the section table with bounds checks.
// A section whose raw data reach past the file's end makes the image damaged.
#include "update/ImageLength.h"

#include <algorithm>

namespace pelorin {

namespace {

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSymbolSize = 18;
constexpr std::uint32_t kSecurityIndex = 4;

std::uint32_t Read16(const std::uint8_t* p) { return static_cast<std::uint32_t>(p[0] | (p[1] << 8)); }
std::uint32_t Read32(const std::uint8_t* p) { return Read16(p) | (Read16(p + 2) << 16); }

bool Fits(std::size_t size, std::uint64_t offset, std::uint64_t length) {
    return offset <= size && length <= size - offset;
}

// File offset of the file header (behind the "PE\0\0" signature), checked to fit with its
// optional header.
std::uint64_t FileHeaderAt(const std::uint8_t* data, std::size_t size) {
    if (!Fits(size, 0, 64) || data[0] != 'M' || data[1] != 'Z') throw EBadImage("The file is not a Windows program");
    const std::uint32_t peOffset = Read32(data + 0x3C);
    if (!Fits(size, peOffset, 24) || Read32(data + peOffset) != 0x00004550) {
        throw EBadImage("The file is not a Windows program");
    }
    return std::uint64_t{peOffset} + 4;
}

}  // namespace

std::uint64_t ImageLength(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* fileHeader = data + FileHeaderAt(data, size);
    const std::uint32_t sectionCount = Read16(fileHeader + 2);
    const std::uint32_t symbolTable = Read32(fileHeader + 8);
    const std::uint32_t symbolCount = Read32(fileHeader + 12);
    const std::uint32_t optionalSize = Read16(fileHeader + 16);
    const std::uint64_t tableOffset = static_cast<std::uint64_t>(fileHeader - data) + 20 + optionalSize;
    if (sectionCount == 0 || !Fits(size, tableOffset, std::uint64_t{sectionCount} * kSectionHeaderSize)) {
        throw EBadImage("The program's section table is damaged");
    }

    std::uint64_t end = tableOffset + std::uint64_t{sectionCount} * kSectionHeaderSize;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* section = data + tableOffset + std::uint64_t{i} * kSectionHeaderSize;
        const std::uint32_t rawSize = Read32(section + 16);
        const std::uint32_t rawOffset = Read32(section + 20);
        if (rawSize == 0) continue;  // uninitialised data occupies no room in the file
        if (!Fits(size, rawOffset, rawSize)) throw EBadImage("The program's sections reach past its end");
        end = std::max(end, std::uint64_t{rawOffset} + rawSize);
    }
    // A program linked without stripping keeps its symbols and their string table behind the sections.
    if (symbolTable != 0) {
        const std::uint64_t strings = symbolTable + std::uint64_t{symbolCount} * kSymbolSize;
        if (!Fits(size, strings, 4)) throw EBadImage("The program's symbol table reaches past its end");
        const std::uint32_t stringsSize = Read32(data + strings);
        if (!Fits(size, strings, stringsSize)) throw EBadImage("The program's symbol table reaches past its end");
        end = std::max(end, strings + std::max<std::uint32_t>(stringsSize, 4));
    }
    return end;
}

std::optional<SecurityEntry> FindSecurityEntry(const std::uint8_t* data, std::size_t size) {
    const std::uint64_t fileHeader = FileHeaderAt(data, size);
    const std::uint32_t optionalSize = Read16(data + fileHeader + 16);
    const std::uint64_t optional = fileHeader + 20;
    if (optionalSize < 2 || !Fits(size, optional, optionalSize)) return std::nullopt;
    // PE32 and PE32+ differ in where the data directory and its entry count sit.
    std::uint32_t countAt = 0;
    switch (Read16(data + optional)) {
    case 0x10B: countAt = 92; break;
    case 0x20B: countAt = 108; break;
    default: return std::nullopt;
    }
    const std::uint64_t entry = countAt + 4 + std::uint64_t{kSecurityIndex} * 8;
    if (entry + 8 > optionalSize || Read32(data + optional + countAt) <= kSecurityIndex) return std::nullopt;
    SecurityEntry result;
    result.at = optional + entry;
    result.tableOffset = Read32(data + result.at);
    result.tableSize = Read32(data + result.at + 4);
    return result;
}

AppendedRange AppendedData(const std::uint8_t* data, std::size_t size) {
    AppendedRange range{ImageLength(data, size), size};
    const std::optional<SecurityEntry> security = FindSecurityEntry(data, size);
    if (security && security->tableSize != 0 && security->tableOffset >= range.start &&
        std::uint64_t{security->tableOffset} + security->tableSize == size) {
        range.end = security->tableOffset;
    }
    return range;
}

}  // namespace pelorin
