// TZipHeaderInfo: one entry of the archive directory, filled from a central or a local
// header, with its name split into path and file name and its comment loaded on demand.
#pragma once

#include <cstdint>
#include <string>

#include "update/strings/Persistent.h"
#include "update/unzip/StoredComment.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

class TZipHeaderInfo : public TPersistent {
public:
    std::string ClassName() const override { return "TZipHeaderInfo"; }
    // Copies every field of another TZipHeaderInfo.
    void Assign(const TPersistent& source) override;

    // From the fixed bytes of a central header (name, extra field and comment not included).
    void FillFromCentral(const std::uint8_t* header);
    // From the fixed bytes of a local header: no central data, so those fields become 0.
    void FillFromLocal(const std::uint8_t* header);

    const std::string& FileName() const { return fileName_; }
    const std::string& Path() const { return path_; }
    std::string FullName() const { return path_ + fileName_; }
    void SetFileName(const std::string& name);
    // A non-empty path always ends with a backslash.
    void SetPath(const std::string& path);
    // Splits after the last backslash: "Tools\" is the path of "Tools\unit.pas" and of "Tools\".
    void SetFullName(const std::string& name);

    bool CommentLoaded() const { return comment_.Loaded(); }
    const std::string& Comment() const { return comment_.Text(); }
    void SetComment(const std::string& comment) { CommentLength = comment_.Set(comment); }
    void ClearComment() {
        comment_.Reset();
        CommentLength = 0;
    }

    std::uint16_t VersionMadeBy = 20;
    std::uint16_t VersionNeeded = 20;
    std::uint16_t Flags = 0;
    std::uint16_t CompressionMethod = 8;
    std::uint32_t DateTime = 0;  // DOS date (high half) and time (low half), repaired
    std::uint32_t Crc32 = 0xFFFFFFFFu;
    std::int32_t CompressedSize = 0;
    std::int32_t UncompressedSize = 0;
    std::uint16_t FileNameLength = 0;  // length of path + file name
    std::uint16_t ExtraFieldLength = 0;
    std::uint16_t CommentLength = 0;
    std::uint16_t DiskNumberStart = 0;  // 0-based
    std::uint16_t InternalAttributes = 1;
    std::uint32_t ExternalAttributes = 32;
    std::uint32_t LocalHeaderOffset = 0;
    std::uint32_t CentralHeaderOffset = 0;  // 0 for an entry found by scanning
    bool Selected = false;

    bool Encrypted() const { return (Flags & kFlagEncrypted) != 0; }
    bool HasDataDescriptor() const { return (Flags & kFlagDataDescriptor) != 0; }

private:
    // The fields a local and a central header share.
    void FillEntryFields(const std::uint8_t* fields);
    void UpdateNameLength();

    std::string fileName_;
    std::string path_;
    StoredComment comment_;
};

}  // namespace pelorin
