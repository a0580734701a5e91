// Fuzzes the directory reader: any bytes as an archive in memory, read in both modes for a
// missing end record, as a plain archive and as one appended to a program, then every entry looked at.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "QuietServices.h"
#include "core/Exception.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/VCLUnZip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelorin;
    fuzz::QuietServices os;
    for (int round = 0; round < 4; ++round) {
        TVCLUnZip zip(os);
        zip.SetIncompleteZipMode(round % 2 == 0 ? TIncompleteZipMode::izAssumeMulti : TIncompleteZipMode::izAssumeBad);
        zip.SetReadAppendedArchives(round >= 2);
        zip.SetArchiveStream(std::make_unique<TMemoryStream>(std::vector<std::uint8_t>(data, data + size)));
        try {
            zip.ReadDirectory();
            std::size_t total = zip.ArchiveComment().size();
            for (int sort = 0; sort <= 7; ++sort) {
                zip.SetSortMode(static_cast<TZipSortMode>(sort));
                for (int i = 0; i < zip.EntryCount(); ++i) {
                    total += zip.EntryFullName(i).size() + zip.EntryComment(i).size();
                }
            }
            if (total == static_cast<std::size_t>(-1)) return 1;
        } catch (const Exception&) {
            // A damaged archive is reported by an error of the family: that is the point.
        }
    }
    return 0;
}
