// What belonging together can mean for files that carry no build mark: the description's
// entries frame PELORIN.DAT exactly and each inflates to its checksum, and pelorin.exe is a
// setup program of this project whose signature, like PELORIN.DLL's, lies inside its file.
#include "tools/pelorin-build/PackageVerify.h"

#include <filesystem>
#include <fstream>
#include <optional>

#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/DataArchiveReader.h"
#include "tools/pelorin-build/Machine.h"
#include "tools/pelorin-build/PackageFolder.h"
#include "tools/pelorin-build/PeImage.h"
#include "update/ImageLength.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kManifestType = 24;
constexpr std::uint32_t kManifestId = 1;
// The build writes this line into the manifest of the setup program (target "pelorin").
constexpr const char* kSetupManifestMark = "Application manifest of pelorin:";

// A signed image keeps its certificate table at the end of the file; a cut file loses it.
std::optional<std::string> CertificateProblem(const std::vector<std::uint8_t>& bytes) {
    std::optional<SecurityEntry> entry;
    try {
        entry = FindSecurityEntry(bytes.data(), bytes.size());
    } catch (const EBadImage& error) {
        return std::string(error.what());
    }
    if (entry && entry->tableSize > 0 && std::uint64_t{entry->tableOffset} + entry->tableSize > bytes.size())
        return std::string("its certificate table lies beyond the end of the file (cut short?)");
    return std::nullopt;
}

// The machine of a Windows image of ours, or a problem line naming the file.
std::optional<Machine> CheckImage(const std::string& name, const std::vector<std::uint8_t>& bytes,
                                  std::optional<PeImage>& image, VerifyReport& report) {
    image = PeImage::Parse(bytes);
    if (!image) {
        report.problems.push_back(name + ": not a Windows image");
        return std::nullopt;
    }
    if (const auto problem = CertificateProblem(bytes)) report.problems.push_back(name + ": " + *problem);
    const auto machine = static_cast<Machine>(image->MachineCode());
    if (machine != Machine::I386 && machine != Machine::Amd64) {
        report.problems.push_back(name + ": built for an unsupported machine (" + std::to_string(image->MachineCode()) +
                                  ")");
        return std::nullopt;
    }
    return machine;
}

void CheckSetupProgram(const PackageFolder& folder, std::optional<Machine> libraryMachine, VerifyReport& report) {
    std::error_code error;
    if (!fs::exists(folder.SetupProgram(), error)) {
        report.notes.push_back("no pelorin.exe in the folder (a build with --no-setup-exe)");
        return;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(folder.SetupProgram());
    } catch (const BuildError& failure) {
        report.problems.push_back(failure.what());
        return;
    }
    std::optional<PeImage> image;
    const auto machine = CheckImage("pelorin.exe", bytes, image, report);
    if (!image) return;
    const auto manifest = image->Resource(kManifestType, kManifestId);
    if (!manifest || std::string(manifest->begin(), manifest->end()).find(kSetupManifestMark) == std::string::npos)
        report.problems.push_back("pelorin.exe: not the setup program (its manifest does not name pelorin)");
    if (machine && libraryMachine && *machine != *libraryMachine)
        report.notes.push_back("PELORIN.DLL is written for " + MachineName(*libraryMachine) + ", pelorin.exe for " +
                               MachineName(*machine) + " (a build with --machine; setup reads it either way)");
}

void CheckData(const PackageFolder& folder, const std::vector<FileEntry>& files, VerifyReport& report) {
    std::ifstream in(folder.Data(), std::ios::binary);
    std::error_code error;
    const auto size = fs::file_size(folder.Data(), error);
    if (!in || error) {
        report.problems.push_back("PELORIN.DAT: cannot open the file");
        return;
    }
    DataArchiveReader reader(in, size);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string problem = reader.Inflate(files[i], [](const std::uint8_t*, std::size_t) {});
        if (!problem.empty()) report.problems.push_back(EntryLabel(i, files[i]) + ": " + problem);
        report.uncompressedSize += files[i].UncompressedSize;
    }
    for (const std::string& problem : reader.CheckLayout(files)) report.problems.push_back(problem);
}

}  // namespace

VerifyReport VerifyPackage(const std::string& dir) {
    const PackageFolder folder(dir);
    VerifyReport report;
    std::optional<Machine> libraryMachine;
    try {
        std::optional<PeImage> image;
        libraryMachine = CheckImage("PELORIN.DLL", ReadWholeFile(folder.Library()), image, report);
    } catch (const BuildError& failure) {
        report.problems.push_back(failure.what());
    }
    std::optional<SetupData> description;
    if (report.problems.empty()) {
        try {
            description = folder.LoadDescription();
        } catch (const Exception& failure) {
            report.problems.push_back(failure.what());
        }
    }
    if (description) {
        report.fileCount = description->FileEntries.size();
        CheckData(folder, description->FileEntries, report);
    }
    CheckSetupProgram(folder, libraryMachine, report);
    return report;
}

}  // namespace pelorin
