// The DOS header leads to the file header; the section table and the symbol table's string
// table are read one record at a time, each checked against the file's size.
#include "update/unzip/ProgramImage.h"

#include <algorithm>

#include "core/LittleEndian.h"

namespace pelorin {

namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kNewHeaderAt = 0x3C;
constexpr std::uint32_t kPeSignature = 0x00004550u;  // "PE\0\0"
constexpr std::size_t kSignatureAndFileHeader = 24;
constexpr std::size_t kSectionRecordSize = 40;
constexpr std::uint64_t kSymbolRecordSize = 18;

// Reads exactly count bytes at offset, or nothing.
bool ReadExactly(TStream& file, std::uint64_t fileSize, std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
    if (offset > fileSize || count > fileSize - offset) return false;
    file.Seek(static_cast<std::int64_t>(offset), soFromBeginning);
    return file.Read(buffer, count) == count;
}

}  // namespace

std::optional<std::uint64_t> ProgramImageEnd(TStream& file) {
    const std::uint64_t fileSize = static_cast<std::uint64_t>(file.Size());
    std::uint8_t dos[kDosHeaderSize];
    if (!ReadExactly(file, fileSize, 0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;
    const std::uint64_t newHeader = GetLE32(dos + kNewHeaderAt);
    std::uint8_t header[kSignatureAndFileHeader];
    if (!ReadExactly(file, fileSize, newHeader, header, sizeof header) || GetLE32(header) != kPeSignature) {
        return std::nullopt;
    }
    const std::uint32_t sections = GetLE16(header + 6);
    const std::uint64_t symbols = GetLE32(header + 12);
    const std::uint64_t symbolCount = GetLE32(header + 16);
    const std::uint64_t table = newHeader + kSignatureAndFileHeader + GetLE16(header + 20);
    if (sections == 0) return std::nullopt;

    std::uint64_t end = table + sections * std::uint64_t{kSectionRecordSize};
    if (end > fileSize) return std::nullopt;
    for (std::uint32_t i = 0; i < sections; ++i) {
        std::uint8_t section[kSectionRecordSize];
        if (!ReadExactly(file, fileSize, table + i * std::uint64_t{kSectionRecordSize}, section, sizeof section)) {
            return std::nullopt;
        }
        const std::uint64_t rawSize = GetLE32(section + 16);
        const std::uint64_t rawStart = GetLE32(section + 20);
        if (rawSize == 0) continue;  // uninitialised data takes no room in the file
        if (rawStart + rawSize > fileSize) return std::nullopt;
        end = std::max(end, rawStart + rawSize);
    }
    if (symbols != 0) {
        // The string table follows the symbols; its first four bytes hold its size.
        const std::uint64_t strings = symbols + symbolCount * kSymbolRecordSize;
        std::uint8_t size[4];
        if (!ReadExactly(file, fileSize, strings, size, sizeof size)) return std::nullopt;
        const std::uint64_t stringsEnd = strings + std::max<std::uint32_t>(GetLE32(size), 4);
        if (stringsEnd > fileSize) return std::nullopt;
        end = std::max(end, stringsEnd);
    }
    return end;
}

}  // namespace pelorin
