// Runs a build in two halves: everything is checked before the first byte is
// written, then the three files are staged and moved into place together.
#include "tools/pelorin-build/Distribution.h"

#include <filesystem>
#include <fstream>

#include "core/WriteFailure.h"
#include "core/ScratchFolder.h"
#include "setup/BlockWriter.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/DataArchive.h"
#include "tools/pelorin-build/HostSystem.h"
#include "tools/pelorin-build/PeImage.h"
#include "tools/pelorin-build/ProjectParser.h"
#include "tools/pelorin-build/ResourceDll.h"
#include "tools/pelorin-build/SourceDateEpoch.h"
#include "tools/pelorin-build/StagedOutput.h"
#include "tools/pelorin-build/Uninstaller.h"
#include "update/ImageLength.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSetupProgramName = "pelorin.exe";
constexpr const char* kDescriptionLibraryName = "PELORIN.DLL";
constexpr const char* kUninstallerName = "FERROW.EXE";

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    ClearWriteFailure();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw BuildError(path, 0, "", "cannot write the file" + WriteFailureSuffix());
}

// Signs input into output and checks the result: a command that ends well without signing (a
// wrapper that skips a file, a service that is switched off) would ship unsigned programs that
// the summary calls signed. A signed program's security entry names a certificate table inside it.
void SignProgram(const SignCommand& sign, const std::string& input, const std::string& output, const char* name) {
    sign.Sign(input, output, name);
    const std::vector<std::uint8_t> bytes = ReadWholeFile(output);
    std::optional<SecurityEntry> entry;
    try {
        entry = FindSecurityEntry(bytes.data(), bytes.size());
    } catch (const EBadImage&) {}
    if (!entry || entry->tableSize == 0 || std::uint64_t{entry->tableOffset} + entry->tableSize > bytes.size())
        throw ESignError(std::string(name) + ": the signing command \"" + sign.Pattern() +
                         "\" ended well but left no certificate table in the file");
}

}  // namespace

std::string FindSetupProgram(const std::string& toolPath) {
    if (toolPath.empty()) return std::string();
    const fs::path bin = fs::path(toolPath).parent_path();
    const fs::path candidates[] = {
        bin / kSetupProgramName,
        bin.parent_path().parent_path() / "win64" / "bin" / kSetupProgramName,
    };
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) return candidate.lexically_normal().string();
    }
    return std::string();
}

Machine MachineOfImage(const std::string& path) {
    const auto image = PeImage::Parse(ReadWholeFile(path));
    if (!image) throw BuildError(path, 0, "", "not a Windows program");
    const auto machine = static_cast<Machine>(image->MachineCode());
    if (machine != Machine::I386 && machine != Machine::Amd64)
        throw BuildError(path, 0, "",
                         "the program is built for an unsupported machine (" + std::to_string(image->MachineCode()) +
                             "); use --machine");
    return machine;
}

BuildSummary BuildDistribution(const BuildOptions& options) {
    Project project = ParseProjectFile(options.projectPath);

    BuildSummary summary;
    if (!options.withoutUninstaller && NeedsUninstaller(project)) {
        summary.uninstaller = !options.uninstaller.empty() ? options.uninstaller : FindUninstaller(OwnExecutablePath());
        if (summary.uninstaller.empty())
            throw BuildError(options.projectPath, 0, "",
                             "CreateUninstall needs the uninstaller FERROW.EXE, which was not found beside the tool or "
                             "in the win64 build tree; name it with --uninstaller PATH (or leave it out: "
                             "--no-uninstaller, or IncludeUninstaller = no in [Setup])");
        std::error_code error;
        if (!fs::is_regular_file(summary.uninstaller, error))
            throw BuildError(summary.uninstaller, 0, "", "the uninstaller does not exist");
        AddUninstallerEntry(project, summary.uninstaller);
    }
    if (!options.withoutSetupExe) {
        summary.setupExe = !options.setupExe.empty() ? options.setupExe : FindSetupProgram(OwnExecutablePath());
        if (summary.setupExe.empty())
            throw BuildError(
                "the setup program pelorin.exe was not found beside the tool or in the win64 build "
                "tree; name it with --setup-exe PATH (or build without it: --no-setup-exe)");
        std::error_code error;
        if (!fs::is_regular_file(summary.setupExe, error))
            throw BuildError(summary.setupExe, 0, "", "the setup program does not exist");
        summary.machine = MachineOfImage(summary.setupExe);
    }
    if (options.machine) summary.machine = *options.machine;

    // The uninstaller is stored signed; its entry keeps the original's time stamp and version,
    // which setup compares with a copy already installed.
    std::optional<ScratchFolder> signing;
    if (options.sign && !summary.uninstaller.empty()) {
        signing.emplace("pelorin-build");
        FileSource& source = project.sources.front();
        source.stampPath = source.path;
        source.path = (fs::path(signing->Path()) / kUninstallerName).string();
        SignProgram(*options.sign, source.stampPath, source.path, kUninstallerName);
        ++summary.signedPrograms;
    }

    StagedOutput output(options.outputDir);
    {
        const std::string archivePath = output.Stage("PELORIN.DAT");
        ClearWriteFailure();
        std::ofstream archive(archivePath, std::ios::binary | std::ios::trunc);
        if (!archive) throw BuildError(archivePath, 0, "", "cannot create the file");
        WriteDataArchive(project, archive);
        if (!summary.uninstaller.empty() && project.setup.FileEntries.front().VersionMS == FileEntry::NoVersion)
            summary.warnings.push_back(summary.uninstaller +
                                       " has no version resource: setup cannot tell a newer FERROW.EXE in {win} "
                                       "from an older one and replaces whichever copy it finds");
        summary.archiveSize = static_cast<std::uint64_t>(archive.tellp());
        archive.close();
        if (!archive) throw BuildError(archivePath, 0, "", "cannot write the file" + WriteFailureSuffix());
    }

    std::vector<std::uint8_t> description;
    try {
        description = EncodeSetupDescription(project.setup);
    } catch (const ERecordEncodeError& error) {
        throw BuildError(options.projectPath, 0, "", error.what());
    }
    summary.descriptionSize = description.size();
    ResourceDllContent dll;
    dll.machine = summary.machine;
    dll.timeStamp = ImageTimeStamp();
    dll.data = std::move(description);
    const std::string library = output.Stage(kDescriptionLibraryName);
    WriteBytes(library, MakeResourceDll(dll));
    if (options.sign) {
        SignProgram(*options.sign, library, library, kDescriptionLibraryName);
        ++summary.signedPrograms;
    }

    if (!summary.setupExe.empty()) {
        const std::string staged = output.Stage(kSetupProgramName);
        if (options.sign) {
            SignProgram(*options.sign, summary.setupExe, staged, kSetupProgramName);
            ++summary.signedPrograms;
        } else {
            std::error_code error;
            fs::copy_file(summary.setupExe, staged, fs::copy_options::overwrite_existing, error);
            if (error) throw BuildError(summary.setupExe, 0, "", "cannot copy the setup program: " + error.message());
        }
    }
    output.Commit();
    summary.fileCount = static_cast<int>(project.setup.FileEntries.size());
    return summary;
}

}  // namespace pelorin
