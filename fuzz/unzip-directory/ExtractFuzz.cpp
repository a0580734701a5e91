// Fuzzes extraction: any bytes as an archive in memory, every entry extracted with folders
// into a fresh temporary folder that is removed afterwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "QuietServices.h"
#include "core/Exception.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/VCLUnZip.h"

namespace {

// A folder of its own for one input, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pelorin-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelorin;
    const ScratchFolder scratch;
    if (scratch.Path().empty()) return 0;
    fuzz::QuietServices os;
    TVCLUnZip zip(os);
    zip.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
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
