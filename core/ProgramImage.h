// Where a Windows program's own image ends in its file, walked from its headers through a
// reader, so that a file held in memory and a stream read piece by piece share one walk.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/LittleEndian.h"

namespace pelorin {

// Why a walk stopped short of the image's end.
enum class ImageProblem { None, NotAProgram, SectionTableDamaged, SectionsPastEnd, SymbolsPastEnd };

struct ImageEnd {
    ImageProblem problem = ImageProblem::None;
    std::uint64_t end = 0;  // when problem is None: where the raw data of the image end, at most the file's size
};

// The end of the sections' raw data, and of the symbol table's strings when a program kept its
// symbols, of the program at the start of a file of fileSize bytes. read(offset, buffer, count)
// fills buffer with exactly count bytes at offset and returns true, or returns false; every
// offset it is asked for lies within the file. Sections without raw data take no room.
template <typename ReadAt>
ImageEnd WalkImageEnd(std::uint64_t fileSize, ReadAt&& read) {
    constexpr std::uint64_t kDosHeaderSize = 64, kNewHeaderAt = 0x3C, kSignatureAndFileHeader = 24;
    constexpr std::uint64_t kSectionRecordSize = 40, kSymbolRecordSize = 18;
    constexpr std::uint32_t kPeSignature = 0x00004550u;  // "PE\0\0"
    const auto within = [fileSize](std::uint64_t offset, std::uint64_t count) {
        return offset <= fileSize && count <= fileSize - offset;
    };
    const auto readAt = [&](std::uint64_t offset, std::uint8_t* buffer, std::uint64_t count) {
        return within(offset, count) && read(offset, buffer, static_cast<std::size_t>(count));
    };

    std::uint8_t dos[kDosHeaderSize];
    if (!readAt(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return {ImageProblem::NotAProgram};
    const std::uint64_t newHeader = GetLE32(dos + kNewHeaderAt);
    std::uint8_t header[kSignatureAndFileHeader];
    if (!readAt(newHeader, header, sizeof header) || GetLE32(header) != kPeSignature) {
        return {ImageProblem::NotAProgram};
    }
    const std::uint32_t sections = GetLE16(header + 6);
    const std::uint64_t symbols = GetLE32(header + 12);
    const std::uint64_t symbolCount = GetLE32(header + 16);
    const std::uint64_t table = newHeader + kSignatureAndFileHeader + GetLE16(header + 20);
    if (sections == 0 || !within(table, sections * kSectionRecordSize)) return {ImageProblem::SectionTableDamaged};

    std::uint64_t end = table + sections * kSectionRecordSize;
    for (std::uint32_t i = 0; i < sections; ++i) {
        std::uint8_t section[kSectionRecordSize];
        if (!readAt(table + i * kSectionRecordSize, section, sizeof section))
            return {ImageProblem::SectionTableDamaged};
        const std::uint64_t rawSize = GetLE32(section + 16);
        const std::uint64_t rawStart = GetLE32(section + 20);
        if (rawSize == 0) continue;
        if (!within(rawStart, rawSize)) return {ImageProblem::SectionsPastEnd};
        end = std::max(end, rawStart + rawSize);
    }
    if (symbols != 0) {
        // The string table follows the symbols; its first four bytes hold its size.
        const std::uint64_t strings = symbols + symbolCount * kSymbolRecordSize;
        std::uint8_t size[4];
        if (!readAt(strings, size, sizeof size)) return {ImageProblem::SymbolsPastEnd};
        const std::uint64_t stringsSize = std::max<std::uint64_t>(GetLE32(size), 4);
        if (!within(strings, stringsSize)) return {ImageProblem::SymbolsPastEnd};
        end = std::max(end, strings + stringsSize);
    }
    return {ImageProblem::None, end};
}

}  // namespace pelorin
