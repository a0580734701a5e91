// Writes the seed corpora of the setup fuzz targets with the block writer:
// make_seeds <corpus-read_block dir> <corpus-load_setup dir>.
#include <fstream>
#include <string>
#include <vector>

#include "setup/BlockWriter.h"

using namespace pelorin;

namespace {

void Save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Expected size as two bytes, then the block.
std::vector<std::uint8_t> BlockSeed(const std::vector<std::uint8_t>& data, BlockStorage storage) {
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(data.size()), static_cast<std::uint8_t>(data.size() >> 8)};
    const std::vector<std::uint8_t> block = EncodeBlock(data.data(), data.size(), storage);
    out.insert(out.end(), block.begin(), block.end());
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

SetupData Sample() {
    SetupData d;
    d.Header.AppName = "Fuzz";
    d.Header.AppVerName = "Fuzz 1.0";
    d.Header.Flags = SetupHeader::CreateUninstall;
    d.License = std::string("{\\rtf1 license}");
    d.DirEntries.push_back({"{app}\\data"});
    FileEntry f;
    f.DestName = "{app}\\a.exe";
    f.UncompressedSize = 100;
    d.FileEntries.push_back(f);
    d.IconEntries.push_back({"A", "{app}\\a.exe", "", "{app}", "", 0});
    d.IniEntries.push_back({"{win}\\a.ini", "S", "K", "V", 1});
    d.RegistryEntries.push_back({0x80000001u, "Software\\Fuzz", "Path", "{app}", 1, 1});
    d.UninstallDeleteEntries.push_back({"{app}\\log.txt"});
    d.RunEntries.push_back({"{app}\\a.exe", "/x", 0});
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string blocks = argv[1];
    const std::string descriptions = argv[2];
    std::vector<std::uint8_t> text(329);
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>("setup description "[i % 18]);
    Save(blocks + "/compressed", BlockSeed(text, bsCompressed));
    Save(blocks + "/stored", BlockSeed(text, bsStored));
    Save(blocks + "/empty", BlockSeed({}, bsStored));

    SetupData d = Sample();
    Save(descriptions + "/compressed", EncodeSetupDescription(d));
    Save(descriptions + "/stored", EncodeSetupDescription(d, {bsStored}));
    Save(descriptions + "/header-only", EncodeSetupDescription(SetupData{}));
    return 0;
}
