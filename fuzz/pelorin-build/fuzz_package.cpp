// Fuzzes the reading of a package that --list, --verify and --extract share: file entries
// from the input's records, the framing walk over the rest as PELORIN.DAT, the listing and
// the destination mapping. Damaged data must come back as problem texts, never read outside.
#include <cstdint>
#include <sstream>
#include <string>

#include "setup/Struct.h"
#include "tools/pelorin-build/DataArchiveReader.h"
#include "tools/pelorin-build/ExtractPath.h"
#include "tools/pelorin-build/PackageListing.h"

// Input: a count byte (at most 8 entries), that many FileEntry records of 98 bytes, then
// the bytes of PELORIN.DAT.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::size_t count = data[0] % 9;
    std::size_t at = 1;
    pelorin::SetupData description;
    for (std::size_t i = 0; i < count && size - at >= pelorin::FileEntry::Size; ++i, at += pelorin::FileEntry::Size) {
        pelorin::FileEntry::Bytes bytes;
        std::copy(data + at, data + at + bytes.size(), bytes.begin());
        try {
            description.FileEntries.push_back(pelorin::FileEntry::Decode(bytes));
        } catch (const pelorin::ECorruptRecord&) {}
    }
    std::istringstream dat(std::string(reinterpret_cast<const char*>(data + at), size - at));
    pelorin::DataArchiveReader reader(dat, size - at);
    std::uint64_t inflated = 0;
    for (const pelorin::FileEntry& entry : description.FileEntries) {
        reader.Inflate(entry, [&inflated](const std::uint8_t* bytes, std::size_t n) { inflated += bytes[n - 1] + n; });
        static_cast<void>(pelorin::MapDestination(entry.DestName));
    }
    static_cast<void>(reader.CheckLayout(description.FileEntries));
    std::ostringstream listing;
    pelorin::WriteListing(description, pelorin::ListFormat::Text, listing);
    pelorin::WriteListing(description, pelorin::ListFormat::Tsv, listing);
    return static_cast<int>(inflated & 0);
}
