// Shared fixtures of the setup core tests: a description that uses every record
// kind, and small file helpers working in the test's current folder.
#include "SampleData.h"

#include <fstream>
#include <stdexcept>

namespace pelorin::test {

SetupData SampleSetupData() {
    SetupData data;
    SetupHeader& h = data.Header;
    h.AppName = std::string(SetupHeader::AppNameCapacity, 'N');
    h.AppVerName = "Sample App 1.0";
    h.DefaultDirName = "Sample";
    h.DefaultGroupName = "Sample Group";
    h.MinWinMajor = 4;
    h.MinWinMinor = 0;
    h.MinNTMajor = 3;
    h.MinNTMinor = 51;
    h.BackColor = 0x80000001u;
    h.Flags = SetupHeader::CreateUninstall | SetupHeader::SolidBackground;
    data.License = std::string("{\\rtf1 License\0text}", 20);

    data.DirEntries = {{"{app}\\data"}, {"{app}\\" + std::string(41, 'd')}};

    FileEntry f;
    f.DataOffset = 0x12345678;
    f.DestName = "{app}\\main.exe";
    f.FileTime = 0x01C2A3B4C5D6E7F8ull;
    f.VersionMS = 0x00010002;
    f.VersionLS = 0x00030004;
    f.UncompressedSize = 0x80000000u;
    f.CompressedSize = 1234;
    f.Adler32 = 0xDEADBEEF;
    f.CopyMode = cmNoAskNewer;
    f.Flags = FileEntry::RestartReplace | FileEntry::SharedFile;
    data.FileEntries.push_back(f);
    f.DataOffset = -1;
    f.DestName = std::string(FileEntry::DestNameCapacity, 'x');
    f.VersionMS = FileEntry::NoVersion;
    f.UncompressedSize = 0x80000005u;
    f.Flags = FileEntry::IsUndoLog;
    data.FileEntries.push_back(f);

    data.IconEntries.push_back({"Sample", "{app}\\main.exe", "/run \"a b\"", "{app}", "{sys}\\shell32.dll", -3});
    data.IniEntries.push_back({"{win}\\sample.ini", "Paths", "Home", "{app}", IniEntry::UninsDeleteEntry});
    data.IniEntries.push_back({"", "Section", "Key", std::string(127, 'v'), 0});

    RegistryEntry r;
    r.RootKey = 0x80000002u;
    r.SubKey = std::string(RegistryEntry::SubKeySize, 'k');
    r.ValueName = "Path";
    r.ValueData = "{app}";
    r.ValueType = RegistryEntry::vtString;
    r.Flags = RegistryEntry::UninsDeleteKey;
    data.RegistryEntries.push_back(r);
    r.SubKey = "Software\\Sample";
    r.ValueName = "";
    r.ValueData = "-42";
    r.ValueType = RegistryEntry::vtDWord;
    data.RegistryEntries.push_back(r);

    data.UninstallDeleteEntries.push_back({"{app}\\settings.dat"});
    data.RunEntries.push_back({"{app}\\read me.exe", "", RunEntry::NoWait});
    return data;
}

std::vector<std::uint8_t> MixedBytes(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    std::uint32_t x = seed;
    const auto next = [&x] {
        x = x * 1664525u + 1013904223u;
        return x >> 8;
    };
    static const char words[] = "setup wizard description block stream record ";
    while (out.size() < size) {
        const std::uint32_t kind = next() % 4;
        const std::size_t run = 16 + next() % 200;
        for (std::size_t i = 0; i < run && out.size() < size; ++i) {
            if (kind == 0) {
                out.push_back(static_cast<std::uint8_t>(next()));
            } else if (kind == 1) {
                out.push_back(0);
            } else {
                out.push_back(static_cast<std::uint8_t>(words[(i + kind) % (sizeof words - 1)]));
            }
        }
    }
    return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

bool FileExists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

}  // namespace pelorin::test
