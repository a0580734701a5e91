// Lays out DOS header, PE headers, one ".rsrc" section with a three-level resource
// tree, and the image checksum; the layout follows the loader's own rules.
#include "tools/pelorin-build/ResourceDll.h"

#include <algorithm>

#include "core/LittleEndian.h"
#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

namespace {

constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kPeOffset = 0x40;
constexpr std::uint32_t kSectionRva = kSectionAlignment;
constexpr std::uint32_t kHeadersSize = kFileAlignment;

// Offsets inside the resource section: root, name and language directories, each
// with one entry (24 bytes), then the data entry (16 bytes) and the data itself.
constexpr std::uint32_t kNameDir = 24;
constexpr std::uint32_t kLanguageDir = 48;
constexpr std::uint32_t kDataEntry = 72;
constexpr std::uint32_t kDataAt = 88;

constexpr std::uint32_t AlignUp(std::uint32_t value, std::uint32_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

void PutDirectory(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t id, std::uint32_t target) {
    PutLE16(&out[at + 14], 1);  // one id entry, no named ones
    PutLE32(&out[at + 16], id);
    PutLE32(&out[at + 20], target);
}

// The checksum the loader verifies for drivers and that tools show for all images:
// 16-bit one's-complement style sum of the file with the checksum field as zero, plus the length.
std::uint32_t ImageChecksum(const std::vector<std::uint8_t>& image, std::size_t checksumAt) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < image.size(); i += 2) {
        if (i == checksumAt || i == checksumAt + 2) continue;
        sum += GetLE16(&image[i]);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + image.size());
}

}  // namespace

std::vector<std::uint8_t> MakeResourceDll(const ResourceDllContent& content) {
    constexpr std::uint32_t kMaxData = 0x40000000;
    if (content.data.size() > kMaxData) throw BuildError("the setup description is too large for a library");
    const bool plus = content.machine == Machine::Amd64;
    const auto dataSize = static_cast<std::uint32_t>(content.data.size());
    const std::uint32_t sectionSize = kDataAt + dataSize;
    const std::uint32_t rawSize = AlignUp(sectionSize, kFileAlignment);
    const std::uint32_t imageSize = kSectionRva + AlignUp(sectionSize, kSectionAlignment);

    std::vector<std::uint8_t> out(kHeadersSize + rawSize, 0);

    // DOS header: only the signature and the offset of the PE header matter.
    out[0] = 'M';
    out[1] = 'Z';
    PutLE32(&out[0x3C], kPeOffset);

    // PE signature and file header.
    const std::uint16_t optionalSize = plus ? 240 : 224;
    std::size_t at = kPeOffset;
    out[at] = 'P';
    out[at + 1] = 'E';
    PutLE16(&out[at + 4], static_cast<std::uint16_t>(content.machine));
    PutLE16(&out[at + 6], 1);  // sections
    PutLE32(&out[at + 8], content.timeStamp);
    PutLE16(&out[at + 20], optionalSize);
    constexpr std::uint16_t kExecutable = 0x0002, kLargeAddress = 0x0020, k32Bit = 0x0100, kDll = 0x2000;
    PutLE16(&out[at + 22], kExecutable | kDll | (plus ? kLargeAddress : k32Bit));

    // Optional header.
    const std::size_t opt = at + 24;
    PutLE16(&out[opt], plus ? 0x20B : 0x10B);
    out[opt + 2] = 2;                 // linker version 2.0
    PutLE32(&out[opt + 8], rawSize);  // SizeOfInitializedData
    // AddressOfEntryPoint 0: no entry point, nothing runs when the library loads.
    if (plus) {
        PutLE64(&out[opt + 24], 0x180000000ull);
    } else {
        PutLE32(&out[opt + 24], kSectionRva);  // BaseOfData
        PutLE32(&out[opt + 28], 0x10000000u);
    }
    PutLE32(&out[opt + 32], kSectionAlignment);
    PutLE32(&out[opt + 36], kFileAlignment);
    PutLE16(&out[opt + 40], 4);             // operating system version 4.0
    PutLE16(&out[opt + 48], plus ? 5 : 4);  // subsystem version 5.2 / 4.0
    PutLE16(&out[opt + 50], plus ? 2 : 0);
    PutLE32(&out[opt + 56], imageSize);
    PutLE32(&out[opt + 60], kHeadersSize);
    const std::size_t checksumAt = opt + 64;
    PutLE16(&out[opt + 68], 2);       // subsystem: Windows GUI
    PutLE16(&out[opt + 70], 0x0100);  // compatible with data execution prevention
    const std::size_t sizesAt = opt + 72;
    if (plus) {
        PutLE64(&out[sizesAt], 0x100000);       // stack reserve
        PutLE64(&out[sizesAt + 8], 0x1000);     // stack commit
        PutLE64(&out[sizesAt + 16], 0x100000);  // heap reserve
        PutLE64(&out[sizesAt + 24], 0x1000);    // heap commit
    } else {
        PutLE32(&out[sizesAt], 0x100000);
        PutLE32(&out[sizesAt + 4], 0x1000);
        PutLE32(&out[sizesAt + 8], 0x100000);
        PutLE32(&out[sizesAt + 12], 0x1000);
    }
    const std::size_t countAt = opt + (plus ? 108 : 92);
    PutLE32(&out[countAt], 16);
    PutLE32(&out[countAt + 4 + 8 * 2], kSectionRva);  // resource directory
    PutLE32(&out[countAt + 4 + 8 * 2 + 4], sectionSize);

    // Section table.
    const std::size_t section = opt + optionalSize;
    const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    for (int i = 0; i < 8; ++i) out[section + i] = static_cast<std::uint8_t>(name[i]);
    PutLE32(&out[section + 8], sectionSize);
    PutLE32(&out[section + 12], kSectionRva);
    PutLE32(&out[section + 16], rawSize);
    PutLE32(&out[section + 20], kHeadersSize);
    PutLE32(&out[section + 36], 0x40000040u);  // initialised data, readable

    // Resource tree: type -> name -> language -> data.
    constexpr std::uint32_t kSubdirectory = 0x80000000u;
    const std::size_t rsrc = kHeadersSize;
    PutDirectory(out, rsrc, content.type, kSubdirectory | kNameDir);
    PutLE32(&out[rsrc + 4], content.timeStamp);
    PutDirectory(out, rsrc + kNameDir, content.id, kSubdirectory | kLanguageDir);
    PutDirectory(out, rsrc + kLanguageDir, content.language, kDataEntry);
    PutLE32(&out[rsrc + kDataEntry], kSectionRva + kDataAt);
    PutLE32(&out[rsrc + kDataEntry + 4], dataSize);
    std::copy(content.data.begin(), content.data.end(), out.begin() + rsrc + kDataAt);

    PutLE32(&out[checksumAt], ImageChecksum(out, checksumAt));
    return out;
}

}  // namespace pelorin
