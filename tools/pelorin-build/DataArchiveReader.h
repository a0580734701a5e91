// Reads PELORIN.DAT back against the description's file entries: where each entry's data
// lies, whether the entries tile the file, and the inflation of one entry with its checks.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "setup/Struct.h"

namespace pelorin {

// Receives the inflated bytes of one entry, in order.
using StoredFileSink = std::function<void(const std::uint8_t* data, std::size_t size)>;

// The text with its control characters (tabs and line ends too) written as \xNN.
std::string PrintableText(const std::string& text);

// "file 2 {app}\b.txt": the entry's number (from 1) and its printable destination.
std::string EntryLabel(std::size_t index, const FileEntry& entry);

class DataArchiveReader {
public:
    // in reads PELORIN.DAT, which is size bytes long; the reader seeks in it.
    DataArchiveReader(std::istream& in, std::uint64_t size) : in_(in), size_(size) {}

    std::uint64_t Size() const { return size_; }

    // Why the entry's data cannot be where the entry says ("zel8" and CompressedSize bytes
    // within the file); empty when it is there.
    std::string CheckPlacement(const FileEntry& entry);

    // Problems of the layout as a whole, each naming its entries: entries sharing data but
    // recording it differently, data of different entries overlapping, and bytes of the file
    // that no entry claims (the tool writes the data of the entries back to back).
    std::vector<std::string> CheckLayout(const std::vector<FileEntry>& files) const;

    // Inflates the entry's data into sink (never more than UncompressedSize bytes) after
    // CheckPlacement; the problem with the data, or empty when its size and Adler-32 match.
    std::string Inflate(const FileEntry& entry, const StoredFileSink& sink);

private:
    std::istream& in_;
    std::uint64_t size_;
};

}  // namespace pelorin
