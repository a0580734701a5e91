// TEndCentral: the record's fields and its comment.
// Clearing goes back to a fresh record.
#include "update/unzip/EndCentral.h"

#include "core/LittleEndian.h"
#include "update/unzip/ZipRecords.h"

namespace pelorin {

void TEndCentral::Fill(const std::uint8_t* record, std::int64_t archiveSize) {
    Signature = kEndCentralSignature;
    ThisDisk = GetLE16(record + EndCentralRecord::kThisDisk);
    CentralStartDisk = GetLE16(record + EndCentralRecord::kCentralStartDisk);
    EntriesOnDisk = GetLE16(record + EndCentralRecord::kEntriesOnDisk);
    TotalEntries = GetLE16(record + EndCentralRecord::kTotalEntries);
    CentralSize = GetLE32(record + EndCentralRecord::kCentralSize);
    CentralOffset = GetLE32(record + EndCentralRecord::kCentralOffset);
    CommentLength = GetLE16(record + EndCentralRecord::kCommentLength);
    CommentOffset = archiveSize - CommentLength;
    comment_.Reset();
}

void TEndCentral::Clear() { *this = TEndCentral(); }

}  // namespace pelorin
