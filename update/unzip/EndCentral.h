// TEndCentral: the archive's end-of-central-directory record, with the archive comment
// loaded on demand and the position where that comment begins.
#pragma once

#include <cstdint>
#include <string>

#include "update/unzip/StoredComment.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

class TEndCentral {
public:
    // From the fixed bytes of the record; the comment itself is not read here.
    void Fill(const std::uint8_t* record, std::int64_t archiveSize);
    // Back to the signature and zeros, without a comment.
    void Clear();

    bool CommentLoaded() const { return comment_.Loaded(); }
    const std::string& Comment() const { return comment_.Text(); }
    void SetComment(const std::string& comment) { CommentLength = comment_.Set(comment); }
    void ClearComment() { comment_.Reset(); }

    std::uint32_t Signature = kEndCentralSignature;
    std::uint16_t ThisDisk = 0;
    std::uint16_t CentralStartDisk = 0;
    std::uint16_t EntriesOnDisk = 0;
    std::uint16_t TotalEntries = 0;
    std::uint32_t CentralSize = 0;
    std::uint32_t CentralOffset = 0;
    std::uint16_t CommentLength = 0;
    std::int64_t CommentOffset = 0;  // archive size minus comment length
    bool CommentChanged = false;

private:
    StoredComment comment_;
};

}  // namespace pelorin
