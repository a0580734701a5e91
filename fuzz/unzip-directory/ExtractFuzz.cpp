// Fuzzes extraction: any bytes as an archive in memory (read as one appended to a program when
// the first byte is odd, as "M" is), every entry extracted into a fresh temporary folder.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "QuietServices.h"
#include "core/Exception.h"
#include "core/ScratchFolder.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/VCLUnZip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelorin;
    // A folder of its own for each input, removed with whatever the input left in it.
    const ScratchFolder scratch("pelorin-fuzz");
    fuzz::QuietServices os;
    TVCLUnZip zip(os);
    zip.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
    zip.SetReadAppendedArchives(size > 0 && (data[0] & 1) != 0);
    zip.SetArchiveStream(std::make_unique<TMemoryStream>(std::vector<std::uint8_t>(data, data + size)));
    zip.SetDestDir(scratch.Path() + "/out");
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    zip.SetZipPassword("secret");
    try {
        zip.Extract();
    } catch (const Exception&) {
        // Damaged archives end with an error of the family.
    }
    return 0;
}
