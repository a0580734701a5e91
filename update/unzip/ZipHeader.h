// TZipHeaderInfo: one entry of the archive directory, filled from a central or a local
// header, with its name split into path and file name and its comment loaded on demand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "update/strings/Persistent.h"

namespace pelorin {

class TZipHeaderInfo : public TPersistent {
public:
    std::string ClassName() const override { return "TZipHeaderInfo"; }
    // Copies every field of another TZipHeaderInfo.
    void Assign(const TPersistent& source) override;

    // From the 46 bytes of a central header (name, extra field and comment not included).
    void FillFromCentral(const std::uint8_t* header);
    // From the 30 bytes of a local header: no central data, so those fields become 0.
    void FillFromLocal(const std::uint8_t* header);

    const std::string& FileName() const { return fileName_; }
    const std::string& Path() const { return path_; }
    std::string FullName() const { return path_ + fileName_; }
    void SetFileName(const std::string& name);
    // A non-empty path always ends with a backslash.
    void SetPath(const std::string& path);
    // Splits after the last backslash: "Tools\" is the path of "Tools\unit.pas" and of "Tools\".
    void SetFullName(const std::string& name);

    bool CommentLoaded() const { return comment_.has_value(); }
    const std::string& Comment() const;
    void SetComment(const std::string& comment);
    void ClearComment();

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

    bool Encrypted() const { return (Flags & 0x0001) != 0; }
    bool HasDataDescriptor() const { return (Flags & 0x0008) != 0; }

private:
    void UpdateNameLength();

    std::string fileName_;
    std::string path_;
    std::optional<std::string> comment_;
};

}  // namespace pelorin
