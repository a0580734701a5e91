// The engine's input reader for one entry: hands out the entry's compressed bytes in chunks
// of at most 16000, decrypts them when the entry is encrypted, and moves on to the next disk
// of a spanned archive when a disk ends inside the data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "update/unzip/DecodeIO.h"
#include "update/unzip/ZipCrypt.h"

namespace pelorin {

constexpr std::size_t kDataBufferSize = 16001;

// What the reader needs from the component that holds the archive.
class ArchiveSource {
public:
    virtual ~ArchiveSource() = default;
    virtual std::size_t ReadArchive(std::uint8_t* buffer, std::size_t count) = 0;
    virtual void SeekArchive(std::int64_t offset, int origin) = 0;
    // Opens the next disk when the archive is spanned and someone can hand it over.
    virtual bool NextDiskForData() = 0;
    // Runs before every refill: pending messages, and the cancel request.
    virtual void BeforeRefill() = 0;
};

class EntryReader : public DecodeInput {
public:
    EntryReader(ArchiveSource& source, std::uint32_t compressedSize) : source_(source), remaining_(compressedSize) {}

    // Raises "Premature end of file reached" when the archive ends before the entry's data.
    std::size_t Fill(std::uint8_t* buffer, std::size_t capacity) override;

    // The encryption header, as it is stored; it counts against the compressed size.
    void ReadEncryptionHeader(std::uint8_t* header);
    // Steps back over the header to check it once more with another password.
    void UnreadEncryptionHeader();
    void SetDecryption(const ZipCrypt& crypt);

    std::uint64_t Remaining() const { return remaining_; }

private:
    void ReadExactly(std::uint8_t* buffer, std::size_t count);

    ArchiveSource& source_;
    std::uint64_t remaining_;
    ZipCrypt crypt_{""};
    bool decrypt_ = false;
};

}  // namespace pelorin
