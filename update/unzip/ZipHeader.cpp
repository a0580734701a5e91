// TZipHeaderInfo: header fields, name splitting and the comment kept in step with its length.
// Date-times are repaired as they are read.
#include "update/unzip/ZipHeader.h"

#include "core/FilePath.h"
#include "core/LittleEndian.h"
#include "update/strings/StringsErrors.h"
#include "update/unzip/DosDateTime.h"

namespace pelorin {

void TZipHeaderInfo::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TZipHeaderInfo*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    *this = *other;
}

void TZipHeaderInfo::FillEntryFields(const std::uint8_t* fields) {
    VersionNeeded = GetLE16(fields + EntryFields::kVersionNeeded);
    Flags = GetLE16(fields + EntryFields::kFlags);
    CompressionMethod = GetLE16(fields + EntryFields::kMethod);
    DateTime = RepairDosDateTime(GetLE32(fields + EntryFields::kDateTime));
    Crc32 = GetLE32(fields + EntryFields::kCrc32);
    CompressedSize = static_cast<std::int32_t>(GetLE32(fields + EntryFields::kCompressedSize));
    UncompressedSize = static_cast<std::int32_t>(GetLE32(fields + EntryFields::kUncompressedSize));
    FileNameLength = GetLE16(fields + EntryFields::kNameLength);
    ExtraFieldLength = GetLE16(fields + EntryFields::kExtraLength);
    comment_.Reset();
}

void TZipHeaderInfo::FillFromCentral(const std::uint8_t* header) {
    VersionMadeBy = GetLE16(header + CentralHeader::kVersionMadeBy);
    FillEntryFields(header + CentralHeader::kEntryFields);
    CommentLength = GetLE16(header + CentralHeader::kCommentLength);
    DiskNumberStart = GetLE16(header + CentralHeader::kDiskNumberStart);
    InternalAttributes = GetLE16(header + CentralHeader::kInternalAttributes);
    ExternalAttributes = GetLE32(header + CentralHeader::kExternalAttributes);
    LocalHeaderOffset = GetLE32(header + CentralHeader::kLocalHeaderOffset);
}

void TZipHeaderInfo::FillFromLocal(const std::uint8_t* header) {
    VersionMadeBy = 0;
    FillEntryFields(header + LocalHeader::kEntryFields);
    CommentLength = 0;
    DiskNumberStart = 0;
    InternalAttributes = 0;
    ExternalAttributes = 0;
    CentralHeaderOffset = 0;
}

void TZipHeaderInfo::SetFileName(const std::string& name) {
    fileName_ = name;
    UpdateNameLength();
}

void TZipHeaderInfo::SetPath(const std::string& path) {
    path_ = AddBackslash(path);
    UpdateNameLength();
}

void TZipHeaderInfo::SetFullName(const std::string& name) {
    const std::size_t slash = name.find_last_of('\\');
    if (slash == std::string::npos) {
        path_.clear();
        SetFileName(name);
        return;
    }
    fileName_ = name.substr(slash + 1);
    SetPath(name.substr(0, slash + 1));
}

void TZipHeaderInfo::UpdateNameLength() {
    FileNameLength = static_cast<std::uint16_t>(path_.size() + fileName_.size());
}

}  // namespace pelorin
