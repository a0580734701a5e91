// Entry of pelorin-build: parses the command line, runs a build or a dump, and turns
// every error into one line on standard error and a non-zero exit status.
#include <iostream>
#include <string>
#include <vector>

#include "tools/pelorin-build/CommandLine.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/PackageExtract.h"
#include "tools/pelorin-build/PackageFolder.h"
#include "tools/pelorin-build/PackageVerify.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int Run(const pelorin::CommandLine& command) {
    using Action = pelorin::CommandLine::Action;
    if (command.action == Action::Help) {
        std::cout << pelorin::kUsage;
        return 0;
    }
    if (command.action == Action::Dump) {
        pelorin::DumpDescription(pelorin::LoadDescriptionFrom(command.dumpPath), std::cout);
        return 0;
    }
    if (command.action == Action::List) {
        pelorin::WriteListing(pelorin::PackageFolder(command.packageDir).LoadDescription(), command.listFormat,
                              std::cout);
        return 0;
    }
    if (command.action == Action::Verify) {
        const pelorin::VerifyReport report = pelorin::VerifyPackage(command.packageDir);
        for (const std::string& note : report.notes) std::cout << "note: " << note << '\n';
        for (const std::string& problem : report.problems) std::cout << problem << '\n';
        if (!report.problems.empty()) return kFailed;
        std::cout << "pelorin-build: " << command.packageDir << ": intact, " << report.fileCount << " file entries, "
                  << report.uncompressedSize << " bytes\n";
        return 0;
    }
    if (command.action == Action::Extract) {
        const pelorin::ExtractReport report = pelorin::ExtractPackage(command.packageDir, command.extractDir);
        for (const std::string& problem : report.problems) std::cerr << problem << '\n';
        std::cout << "pelorin-build: " << command.extractDir << ": " << report.written << " files, " << report.bytes
                  << " bytes\n";
        return report.problems.empty() ? 0 : kFailed;
    }
    const pelorin::BuildSummary summary = pelorin::BuildDistribution(command.build);
    for (const std::string& warning : summary.warnings) std::cerr << "pelorin-build: warning: " << warning << '\n';
    std::cout << "pelorin-build: " << command.build.outputDir << ": " << summary.fileCount
              << " file entries, PELORIN.DAT " << summary.archiveSize << " bytes, description "
              << summary.descriptionSize << " bytes, PELORIN.DLL for " << pelorin::MachineName(summary.machine);
    if (!summary.setupExe.empty()) std::cout << ", setup program from " << summary.setupExe;
    if (!summary.uninstaller.empty()) std::cout << ", uninstaller from " << summary.uninstaller;
    if (summary.signedPrograms > 0) std::cout << ", " << summary.signedPrograms << " programs signed";
    std::cout << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    pelorin::CommandLine command;
    try {
        command = pelorin::ParseCommandLine(args);
    } catch (const pelorin::Exception& error) {
        std::cerr << "pelorin-build: " << error.what() << "\n" << pelorin::kUsage;
        return kUsageError;
    }
    try {
        return Run(command);
    } catch (const std::exception& error) {
        std::cerr << "pelorin-build: " << error.what() << '\n';
        return kFailed;
    }
}
