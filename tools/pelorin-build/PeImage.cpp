// Walks a Windows image's headers and its three-level resource tree
// (type, name, language) with bounds checks on every read.
#include "tools/pelorin-build/PeImage.h"

#include "core/ByteSource.h"
#include "core/LittleEndian.h"
#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kHighBit = 0x80000000u;

bool Fits(const std::vector<std::uint8_t>& bytes, std::uint64_t offset, std::uint64_t length) {
    return offset <= bytes.size() && length <= bytes.size() - offset;
}

}  // namespace

std::optional<PeImage> PeImage::Parse(Bytes bytes) {
    if (!Fits(bytes, 0, 64) || bytes[0] != 'M' || bytes[1] != 'Z') return std::nullopt;
    const std::uint32_t peOffset = GetLE32(&bytes[0x3C]);
    if (!Fits(bytes, peOffset, 24)) return std::nullopt;
    const std::uint8_t* pe = &bytes[peOffset];
    if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return std::nullopt;

    PeImage image;
    image.machine_ = GetLE16(pe + 4);
    const std::uint16_t sectionCount = GetLE16(pe + 6);
    const std::uint16_t optionalSize = GetLE16(pe + 20);
    const std::uint64_t optionalOffset = std::uint64_t{peOffset} + 24;
    if (!Fits(bytes, optionalOffset, optionalSize) || optionalSize < 2) return std::nullopt;
    const std::uint8_t* opt = &bytes[optionalOffset];
    const std::uint16_t magic = GetLE16(opt);
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return std::nullopt;
    image.pe32Plus_ = magic == kPe32PlusMagic;

    // Offsets of SizeOfHeaders, NumberOfRvaAndSizes and the data directories differ
    // only by the wider image base and stack fields of PE32+.
    const std::uint32_t countAt = image.pe32Plus_ ? 108 : 92;
    const std::uint32_t dirsAt = countAt + 4;
    if (optionalSize < dirsAt) return std::nullopt;
    image.headersSize_ = GetLE32(opt + 60);
    const std::uint32_t dirCount = GetLE32(opt + countAt);
    if (dirCount > kResourceDirectory && optionalSize >= dirsAt + 8 * (kResourceDirectory + 1)) {
        image.resourceRva_ = GetLE32(opt + dirsAt + 8 * kResourceDirectory);
        image.resourceSize_ = GetLE32(opt + dirsAt + 8 * kResourceDirectory + 4);
    }

    const std::uint64_t tableOffset = optionalOffset + optionalSize;
    if (!Fits(bytes, tableOffset, std::uint64_t{sectionCount} * 40)) return std::nullopt;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::uint8_t* s = &bytes[tableOffset + std::uint64_t{i} * 40];
        image.sections_.push_back({GetLE32(s + 12), GetLE32(s + 8), GetLE32(s + 20), GetLE32(s + 16)});
    }
    image.bytes_ = std::move(bytes);
    return image;
}

std::optional<std::uint32_t> PeImage::FileOffset(std::uint32_t rva, std::uint32_t length) const {
    for (const Section& s : sections_) {
        if (rva < s.virtualAddress) continue;
        const std::uint64_t delta = rva - s.virtualAddress;
        if (delta + length > s.rawSize) continue;
        const std::uint64_t offset = std::uint64_t{s.rawOffset} + delta;
        if (!Fits(bytes_, offset, length)) return std::nullopt;
        return static_cast<std::uint32_t>(offset);
    }
    if (std::uint64_t{rva} + length <= headersSize_ && Fits(bytes_, rva, length)) return rva;
    return std::nullopt;
}

// Returns the offset (relative to the resource section start) that the matching
// entry of the directory at dirOffset points to.
std::optional<std::uint32_t> PeImage::FindEntry(std::uint32_t dirOffset, std::optional<std::uint32_t> id,
                                                bool wantDirectory) const {
    const auto dir = FileOffset(resourceRva_ + dirOffset, 16);
    if (!dir || std::uint64_t{dirOffset} + 16 > resourceSize_) return std::nullopt;
    const std::uint32_t named = GetLE16(&bytes_[*dir + 12]);
    const std::uint32_t ids = GetLE16(&bytes_[*dir + 14]);
    for (std::uint32_t i = 0; i < named + ids; ++i) {
        const std::uint32_t entryRva = resourceRva_ + dirOffset + 16 + 8 * i;
        const auto entry = FileOffset(entryRva, 8);
        if (!entry) return std::nullopt;
        const std::uint32_t name = GetLE32(&bytes_[*entry]);
        const std::uint32_t target = GetLE32(&bytes_[*entry + 4]);
        if (id && ((name & kHighBit) != 0 || name != *id)) continue;
        const bool isDirectory = (target & kHighBit) != 0;
        if (isDirectory != wantDirectory) return std::nullopt;
        return target & ~kHighBit;
    }
    return std::nullopt;
}

std::optional<PeImage::Bytes> PeImage::Resource(std::uint32_t type, std::optional<std::uint32_t> id) const {
    if (resourceRva_ == 0 || resourceSize_ == 0) return std::nullopt;
    const auto names = FindEntry(0, type, true);
    if (!names) return std::nullopt;
    const auto languages = FindEntry(*names, id, true);
    if (!languages) return std::nullopt;
    const auto dataEntry = FindEntry(*languages, std::nullopt, false);
    if (!dataEntry) return std::nullopt;
    const auto entry = FileOffset(resourceRva_ + *dataEntry, 16);
    if (!entry) return std::nullopt;
    const std::uint32_t dataRva = GetLE32(&bytes_[*entry]);
    const std::uint32_t dataSize = GetLE32(&bytes_[*entry + 4]);
    const auto data = FileOffset(dataRva, dataSize);
    if (!data) return std::nullopt;
    return Bytes(bytes_.begin() + *data, bytes_.begin() + *data + dataSize);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const FileRead read = ReadBinaryFile(path, bytes);
    if (read == FileRead::CannotOpen) throw BuildError(path, 0, "", "cannot open the file");
    if (read == FileRead::CannotRead) throw BuildError(path, 0, "", "cannot read the file");
    return bytes;
}

}  // namespace pelorin
