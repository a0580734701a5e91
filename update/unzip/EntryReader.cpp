// The entry reader: chunked, decrypted, and continued across disks.
// The bytes of the entry are counted, so a decoder never reads into the next entry.
#include "update/unzip/EntryReader.h"

#include <algorithm>

#include "update/unzip/UnzipErrors.h"

namespace pelorin {

std::size_t EntryReader::Fill(std::uint8_t* buffer, std::size_t capacity) {
    const std::size_t n =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, std::min<std::size_t>(capacity, kDataChunkSize)));
    if (n == 0) return 0;
    source_.BeforeRefill();
    ReadExactly(buffer, n);
    if (decrypt_) crypt_.Decrypt(buffer, n);
    return n;
}

void EntryReader::ReadEncryptionHeader(std::uint8_t* header) {
    if (remaining_ < ZipCrypt::kHeaderSize) throw EFatalUnzipError("Premature end of file reached");
    ReadExactly(header, ZipCrypt::kHeaderSize);
}

void EntryReader::UnreadEncryptionHeader() {
    source_.SeekArchive(-static_cast<std::int64_t>(ZipCrypt::kHeaderSize), 1);
    remaining_ += ZipCrypt::kHeaderSize;
}

void EntryReader::SetDecryption(const ZipCrypt& crypt) {
    crypt_ = crypt;
    decrypt_ = true;
}

void EntryReader::ReadExactly(std::uint8_t* buffer, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = source_.ReadArchive(buffer + done, count - done);
        done += got;
        if (got == 0 && !source_.NextDiskForData()) throw EFatalUnzipError("Premature end of file reached");
    }
    remaining_ -= count;
}

}  // namespace pelorin
