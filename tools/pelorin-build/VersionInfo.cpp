// Locates resource type 16 (version), checks its "VS_VERSION_INFO" root and the
// fixed block's signature, and returns dwFileVersionMS/LS.
#include "tools/pelorin-build/VersionInfo.h"

#include <fstream>

#include "core/LittleEndian.h"
#include "tools/pelorin-build/PeImage.h"

namespace pelorin {

namespace {

constexpr std::uint32_t kVersionType = 16;
constexpr std::uint32_t kVersionId = 1;
constexpr std::uint32_t kFixedSignature = 0xFEEF04BDu;
constexpr std::size_t kFixedSize = 52;

bool StartsWithRootKey(const std::vector<std::uint8_t>& data) {
    static const char key[] = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < sizeof key; ++i) {
        const std::size_t at = 6 + 2 * i;
        if (data[at] != static_cast<std::uint8_t>(key[i]) || data[at + 1] != 0) return false;
    }
    return true;
}

}  // namespace

std::optional<FileVersion> ReadFileVersion(std::vector<std::uint8_t> imageBytes) {
    const auto image = PeImage::Parse(std::move(imageBytes));
    if (!image) return std::nullopt;
    auto data = image->Resource(kVersionType, kVersionId);
    if (!data) data = image->Resource(kVersionType, std::nullopt);
    // Header: wLength, wValueLength, wType, then the key in UTF-16 with its zero
    // (32 bytes, ending at 38), padded to a 4-byte boundary: the fixed block is at 40.
    constexpr std::size_t fixedAt = 40;
    if (!data || data->size() < fixedAt + kFixedSize) return std::nullopt;
    const std::uint8_t* p = data->data();
    if (GetLE16(p + 2) < kFixedSize || !StartsWithRootKey(*data)) return std::nullopt;
    if (GetLE32(p + fixedAt) != kFixedSignature) return std::nullopt;
    return FileVersion{GetLE32(p + fixedAt + 8), GetLE32(p + fixedAt + 12)};
}

std::optional<FileVersion> ReadFileVersionOf(const std::string& path) {
    {
        std::ifstream in(path, std::ios::binary);
        char magic[2] = {};
        if (!in.read(magic, 2) || magic[0] != 'M' || magic[1] != 'Z') return std::nullopt;
    }
    return ReadFileVersion(ReadWholeFile(path));
}

}  // namespace pelorin
