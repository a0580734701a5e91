// Builds a distribution folder from a project: the setup program, PELORIN.DLL with
// the setup description, and PELORIN.DAT with the compressed application files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/pelorin-build/Machine.h"
#include "tools/signing/SignCommand.h"

namespace pelorin {

struct BuildOptions {
    std::string projectPath;
    std::string outputDir;
    std::string setupExe;             // empty: look beside the tool (see FindSetupProgram)
    bool withoutSetupExe = false;     // write only PELORIN.DLL and PELORIN.DAT
    std::optional<Machine> machine;   // forces the machine of PELORIN.DLL
    std::string uninstaller;          // empty: look beside the tool (see FindUninstaller)
    bool withoutUninstaller = false;  // never add FERROW.EXE to PELORIN.DAT
    std::optional<SignCommand> sign;  // signs pelorin.exe, PELORIN.DLL and the stored FERROW.EXE
};

struct BuildSummary {
    std::string setupExe;               // copied program, empty when none
    std::string uninstaller;            // stored FERROW.EXE, empty when none
    std::vector<std::string> warnings;  // the build succeeded, but the author should know
    Machine machine = Machine::Amd64;
    int signedPrograms = 0;
    int fileCount = 0;
    std::uint64_t archiveSize = 0;
    std::uint64_t descriptionSize = 0;
};

// The setup program beside the tool, or in the win64 tree next to the tool's own
// build tree (native/bin/pelorin-build -> win64/bin/pelorin.exe); empty when absent.
std::string FindSetupProgram(const std::string& toolPath);

// The machine field of a Windows image; throws BuildError for other files or machines.
Machine MachineOfImage(const std::string& path);

// Throws BuildError; on failure the output folder holds nothing new.
BuildSummary BuildDistribution(const BuildOptions& options);

}  // namespace pelorin
