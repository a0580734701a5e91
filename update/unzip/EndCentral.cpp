// TEndCentral: the record's fields and its comment.
// Clearing goes back to a fresh record.
#include "update/unzip/EndCentral.h"

#include "update/unzip/ZipRecords.h"

namespace pelorin {

void TEndCentral::Fill(const std::uint8_t* record, std::int64_t archiveSize) {
    Signature = kEndCentralSignature;
    ThisDisk = ReadLE16(record + 4);
    CentralStartDisk = ReadLE16(record + 6);
    EntriesOnDisk = ReadLE16(record + 8);
    TotalEntries = ReadLE16(record + 10);
    CentralSize = ReadLE32(record + 12);
    CentralOffset = ReadLE32(record + 16);
    CommentLength = ReadLE16(record + 20);
    CommentOffset = archiveSize - CommentLength;
    comment_.reset();
}

void TEndCentral::Clear() { *this = TEndCentral(); }

const std::string& TEndCentral::Comment() const {
    static const std::string kNone;
    return comment_ ? *comment_ : kNone;
}

void TEndCentral::SetComment(const std::string& comment) {
    comment_ = comment;
    CommentLength = static_cast<std::uint16_t>(comment.size());
}

}  // namespace pelorin
