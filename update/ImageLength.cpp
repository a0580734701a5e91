// The image's end from core's walk of its headers, with the message of each way it can be
// damaged; and the security entry, found from the file header with bounds checks.
#include "update/ImageLength.h"

#include <cstring>

#include "core/LittleEndian.h"
#include "core/ProgramImage.h"

namespace pelorin {

namespace {

constexpr std::uint32_t kSecurityIndex = 4;

constexpr const char* kNotAProgram = "The file is not a Windows program";

bool Fits(std::size_t size, std::uint64_t offset, std::uint64_t length) {
    return offset <= size && length <= size - offset;
}

// File offset of the file header (behind the "PE\0\0" signature), checked to fit with its
// optional header.
std::uint64_t FileHeaderAt(const std::uint8_t* data, std::size_t size) {
    if (!Fits(size, 0, 64) || data[0] != 'M' || data[1] != 'Z') throw EBadImage(kNotAProgram);
    const std::uint32_t peOffset = GetLE32(data + 0x3C);
    if (!Fits(size, peOffset, 24) || GetLE32(data + peOffset) != 0x00004550) throw EBadImage(kNotAProgram);
    return std::uint64_t{peOffset} + 4;
}

}  // namespace

std::uint64_t ImageLength(const std::uint8_t* data, std::size_t size) {
    const ImageEnd image = WalkImageEnd(size, [data](std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
        std::memcpy(buffer, data + offset, count);
        return true;
    });
    switch (image.problem) {
    case ImageProblem::None: return image.end;
    case ImageProblem::NotAProgram: throw EBadImage(kNotAProgram);
    case ImageProblem::SectionTableDamaged: throw EBadImage("The program's section table is damaged");
    case ImageProblem::SectionsPastEnd: throw EBadImage("The program's sections reach past its end");
    case ImageProblem::SymbolsPastEnd: throw EBadImage("The program's symbol table reaches past its end");
    }
    throw EBadImage(kNotAProgram);
}

std::optional<SecurityEntry> FindSecurityEntry(const std::uint8_t* data, std::size_t size) {
    const std::uint64_t fileHeader = FileHeaderAt(data, size);
    const std::uint32_t optionalSize = GetLE16(data + fileHeader + 16);
    const std::uint64_t optional = fileHeader + 20;
    if (optionalSize < 2 || !Fits(size, optional, optionalSize)) return std::nullopt;
    // PE32 and PE32+ differ in where the data directory and its entry count sit.
    std::uint32_t countAt = 0;
    switch (GetLE16(data + optional)) {
    case 0x10B: countAt = 92; break;
    case 0x20B: countAt = 108; break;
    default: return std::nullopt;
    }
    const std::uint64_t entry = countAt + 4 + std::uint64_t{kSecurityIndex} * 8;
    if (entry + 8 > optionalSize || GetLE32(data + optional + countAt) <= kSecurityIndex) return std::nullopt;
    SecurityEntry result;
    result.at = optional + entry;
    result.tableOffset = GetLE32(data + result.at);
    result.tableSize = GetLE32(data + result.at + 4);
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
