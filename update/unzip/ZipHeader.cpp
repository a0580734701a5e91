// TZipHeaderInfo: header fields, name splitting and the comment kept in step with its length.
// Date-times are repaired as they are read.
#include "update/unzip/ZipHeader.h"

#include "update/strings/StringsErrors.h"
#include "update/unzip/DosDateTime.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

void TZipHeaderInfo::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TZipHeaderInfo*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    *this = *other;
}

void TZipHeaderInfo::FillFromCentral(const std::uint8_t* header) {
    VersionMadeBy = ReadLE16(header + 4);
    VersionNeeded = ReadLE16(header + 6);
    Flags = ReadLE16(header + 8);
    CompressionMethod = ReadLE16(header + 10);
    DateTime = RepairDosDateTime(ReadLE32(header + 12));
    Crc32 = ReadLE32(header + 16);
    CompressedSize = static_cast<std::int32_t>(ReadLE32(header + 20));
    UncompressedSize = static_cast<std::int32_t>(ReadLE32(header + 24));
    FileNameLength = ReadLE16(header + 28);
    ExtraFieldLength = ReadLE16(header + 30);
    CommentLength = ReadLE16(header + 32);
    DiskNumberStart = ReadLE16(header + 34);
    InternalAttributes = ReadLE16(header + 36);
    ExternalAttributes = ReadLE32(header + 38);
    LocalHeaderOffset = ReadLE32(header + 42);
    comment_.reset();
}

void TZipHeaderInfo::FillFromLocal(const std::uint8_t* header) {
    VersionMadeBy = 0;
    VersionNeeded = ReadLE16(header + 4);
    Flags = ReadLE16(header + 6);
    CompressionMethod = ReadLE16(header + 8);
    DateTime = RepairDosDateTime(ReadLE32(header + 10));
    Crc32 = ReadLE32(header + 14);
    CompressedSize = static_cast<std::int32_t>(ReadLE32(header + 18));
    UncompressedSize = static_cast<std::int32_t>(ReadLE32(header + 22));
    FileNameLength = ReadLE16(header + 26);
    ExtraFieldLength = ReadLE16(header + 28);
    CommentLength = 0;
    DiskNumberStart = 0;
    InternalAttributes = 0;
    ExternalAttributes = 0;
    CentralHeaderOffset = 0;
    comment_.reset();
}

void TZipHeaderInfo::SetFileName(const std::string& name) {
    fileName_ = name;
    UpdateNameLength();
}

void TZipHeaderInfo::SetPath(const std::string& path) {
    path_ = path;
    if (!path_.empty() && path_.back() != '\\') path_ += '\\';
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

const std::string& TZipHeaderInfo::Comment() const {
    static const std::string kNone;
    return comment_ ? *comment_ : kNone;
}

void TZipHeaderInfo::SetComment(const std::string& comment) {
    comment_ = comment;
    CommentLength = static_cast<std::uint16_t>(comment.size());
}

void TZipHeaderInfo::ClearComment() {
    comment_.reset();
    CommentLength = 0;
}

}  // namespace pelorin
