// Writes the seed corpus of the package fuzz target from a distribution folder that the
// tool built: make_package_seeds DIST <corpus-package dir>.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/pelorin-build/PackageFolder.h"

using namespace pelorin;

namespace {

void Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The count byte, the entries' records and the data, as the target reads its input.
std::vector<std::uint8_t> Seed(const std::vector<FileEntry>& files, const std::vector<std::uint8_t>& dat) {
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(files.size())};
    for (const FileEntry& file : files) {
        const FileEntry::Bytes bytes = file.Encode();
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    out.insert(out.end(), dat.begin(), dat.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const PackageFolder folder(argv[1]);
    const SetupData description = folder.LoadDescription();
    std::ifstream in(folder.Data(), std::ios::binary);
    const std::vector<std::uint8_t> dat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string dir = argv[2];
    Save(dir + "/package", Seed(description.FileEntries, dat));
    Save(dir + "/first-file", Seed({description.FileEntries.front()}, dat));
    Save(dir + "/no-data", Seed(description.FileEntries, {}));
    return 0;
}
