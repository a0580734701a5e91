// The fixed parts of the zip records (local header, central header, end of central
// directory): signatures, sizes and the offset of every field. Fields are little-endian
// (core/LittleEndian.h reads them).
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelorin {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034B50u;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014B50u;
constexpr std::uint32_t kEndCentralSignature = 0x06054B50u;

// The run of fields that a local and a central header share, from "version needed" to the
// extra field's length; offsets within that run.
namespace EntryFields {
constexpr std::size_t kVersionNeeded = 0;
constexpr std::size_t kFlags = 2;
constexpr std::size_t kMethod = 4;
constexpr std::size_t kDateTime = 6;
constexpr std::size_t kCrc32 = 10;
constexpr std::size_t kCompressedSize = 14;
constexpr std::size_t kUncompressedSize = 18;
constexpr std::size_t kNameLength = 22;
constexpr std::size_t kExtraLength = 24;
constexpr std::size_t kSize = 26;
}  // namespace EntryFields

namespace LocalHeader {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kEntryFields = 4;
constexpr std::size_t kNameLength = kEntryFields + EntryFields::kNameLength;
constexpr std::size_t kExtraLength = kEntryFields + EntryFields::kExtraLength;
constexpr std::size_t kSize = kEntryFields + EntryFields::kSize;
}  // namespace LocalHeader

namespace CentralHeader {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kVersionMadeBy = 4;
constexpr std::size_t kEntryFields = 6;
constexpr std::size_t kNameLength = kEntryFields + EntryFields::kNameLength;
constexpr std::size_t kExtraLength = kEntryFields + EntryFields::kExtraLength;
constexpr std::size_t kCommentLength = 32;
constexpr std::size_t kDiskNumberStart = 34;
constexpr std::size_t kInternalAttributes = 36;
constexpr std::size_t kExternalAttributes = 38;
constexpr std::size_t kLocalHeaderOffset = 42;
constexpr std::size_t kSize = 46;
}  // namespace CentralHeader

namespace EndCentralRecord {
constexpr std::size_t kSignature = 0;
constexpr std::size_t kThisDisk = 4;
constexpr std::size_t kCentralStartDisk = 6;
constexpr std::size_t kEntriesOnDisk = 8;
constexpr std::size_t kTotalEntries = 10;
constexpr std::size_t kCentralSize = 12;
constexpr std::size_t kCentralOffset = 16;
constexpr std::size_t kCommentLength = 20;
constexpr std::size_t kSize = 22;
}  // namespace EndCentralRecord

// The data descriptor that follows an entry's data when flag bit 3 is set: signature, CRC-32
// and the two sizes.
constexpr std::size_t kDataDescriptorSize = 16;

// The general purpose flag bits the extraction looks at.
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;

}  // namespace pelorin
