// Names the files of a distribution folder as the tool writes them and loads the
// description with the same code as --dump.
#include "tools/pelorin-build/PackageFolder.h"

#include <filesystem>

#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/DescriptionDump.h"

namespace pelorin {

namespace fs = std::filesystem;

PackageFolder::PackageFolder(const std::string& dir) : dir_(dir) {
    std::error_code error;
    if (!fs::is_directory(dir, error)) throw BuildError(dir, 0, "", "not a distribution folder");
}

std::string PackageFolder::Library() const { return (fs::path(dir_) / "PELORIN.DLL").string(); }

std::string PackageFolder::Data() const { return (fs::path(dir_) / "PELORIN.DAT").string(); }

std::string PackageFolder::SetupProgram() const { return (fs::path(dir_) / "pelorin.exe").string(); }

SetupData PackageFolder::LoadDescription() const { return LoadDescriptionFrom(Library()); }

}  // namespace pelorin
