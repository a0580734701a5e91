// pelorin-unzip extraction to files or to standard output, and testing in memory: drives the
// component with the command line's selection, folder, overwrite choice and password.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/Exception.h"
#include "tools/pelorin-unzip/Commands.h"
#include "tools/pelorin-unzip/ConsoleServices.h"
#include "tools/pelorin-unzip/EntryNames.h"
#include "tools/pelorin-unzip/ProgressBar.h"
#include "tools/pelorin-unzip/StandardOutput.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {

namespace {

// Split archives keep their parts beside the last one: NAME.z01, NAME.z02, ... and NAME.zip.
// Empty when the part is missing, which ends the extraction as a cancel.
std::string SplitPartName(const std::string& archive, int disk, int disks) {
    // Absolute: the component works inside the destination folder.
    std::filesystem::path part = std::filesystem::absolute(archive);
    if (disk < disks) {
        char extension[16];
        std::snprintf(extension, sizeof extension, ".z%02d", disk);
        part.replace_extension(extension);
    }
    std::error_code ignored;
    return std::filesystem::is_regular_file(part, ignored) ? part.string() : std::string();
}

// The answers to "replace?" questions, with "all" and "none" remembered for the rest of the run.
class OverwriteQuestion {
public:
    bool Ask(const std::string& name) {
        if (all_) return true;
        if (none_) return false;
        for (;;) {
            const std::string answer = AskLine("replace " + name + "? [y]es, [n]o, [A]ll, [N]one: ");
            if (answer.empty()) return false;
            switch (answer[0]) {
            case 'y':
            case 'Y': return true;
            case 'n': return false;
            case 'A': all_ = true; return true;
            case 'N': none_ = true; return false;
            default: break;
            }
        }
    }

private:
    bool all_ = false;
    bool none_ = false;
};

struct Outcome {
    int selected = 0;
    int extracted = 0;
    int failed = 0;
};

// What extraction to files and to standard output share: the archive, the selection, the
// password, the parts of a split archive, and the reports of entries that fail.
void Configure(TVCLUnZip& zip, const UnzipOptions& options, const std::string& archivePath, Outcome& outcome,
               ProgressBar& bar) {
    zip.SetDoProcessMessages(false);
    zip.SetReadAppendedArchives(true);
    zip.SetZipName(archivePath);
    zip.SetZipPassword(options.password);
    if (options.patterns.empty()) {
        zip.SetFilesList({"*"});
    } else {
        for (const std::string& pattern : options.patterns) zip.FilesList().push_back(BackslashPattern(pattern));
    }
    for (const std::string& pattern : options.exclusions) zip.ExcludeList().push_back(BackslashPattern(pattern));
    zip.OnGetNextDisk = [archivePath](TVCLUnZip& sender, int disk, std::string& name) {
        name = SplitPartName(archivePath, disk, sender.NumberOfDisks());
    };
    zip.OnStartUnZipInfo = [&outcome](TVCLUnZip&, int files, std::int64_t, bool&) { outcome.selected = files; };
    zip.OnBadCRC = [&outcome, &bar](TVCLUnZip& sender, std::uint32_t computed, std::uint32_t stored, int index) {
        ++outcome.failed;
        bar.Clear();
        std::fprintf(stderr, "%s:  bad CRC %08x  (should be %08x)\n", SlashName(sender.EntryFullName(index)).c_str(),
                     static_cast<unsigned>(computed), static_cast<unsigned>(stored));
    };
    zip.OnSkippingFile = [&outcome, &bar](TVCLUnZip& sender, TSkipReason reason, int index) {
        ++outcome.failed;
        bar.Clear();
        const std::string name = SlashName(sender.EntryFullName(index));
        if (reason == TSkipReason::SkipBadPassword) {
            std::fprintf(stderr, "skipping: %s  incorrect password\n", name.c_str());
        } else if (reason == TSkipReason::SkipUnsafeName) {
            std::fprintf(stderr, "skipping: %s  unsafe name\n", name.c_str());
        } else {
            std::fprintf(stderr, "skipping: %s  exists, not overwritten\n", name.c_str());
        }
    };
}

// Extracts below destination, or with testing on decodes and checks without writing anything.
Outcome RunComponent(const UnzipOptions& options, const std::string& destination, bool testing) {
    ConsoleServices services;
    TVCLUnZip zip(services);
    ProgressBar bar;
    OverwriteQuestion question;
    Outcome outcome;
    const bool verbose = !options.quiet;

    Configure(zip, options, std::filesystem::absolute(options.archive).string(), outcome, bar);
    zip.SetDestDir(destination);
    zip.SetRecreateDirs(!options.junkPaths);
    switch (testing ? OverwriteChoice::Always : options.overwrite) {
    case OverwriteChoice::Always: zip.SetOverwriteMode(TUZOverwriteMode::Always); break;
    case OverwriteChoice::Never: zip.SetOverwriteMode(TUZOverwriteMode::Never); break;
    case OverwriteChoice::Ask:
        zip.SetOverwriteMode(TUZOverwriteMode::Prompt);
        zip.OnPromptForOverwrite = [&](TVCLUnZip& sender, bool& overwrite, int index, std::string&) {
            bar.Clear();
            overwrite = question.Ask(SlashName(sender.EntryFullName(index)));
        };
        break;
    }
    zip.OnTotalPercentDone = [&](TVCLUnZip&, int percent) { bar.Show(percent); };
    zip.OnEndUnZip = [&](TVCLUnZip& sender, int index, const std::string&) {
        ++outcome.extracted;
        if (!verbose) return;
        bar.Clear();
        const std::string name = SlashName(sender.EntryFullName(index));
        if (testing) {
            std::printf("    testing: %-40s OK\n", name.c_str());
        } else {
            std::printf("  extracted: %s\n", name.c_str());
        }
    };
    ReadArchiveDirectory(zip, options);
    if (testing) {
        zip.Test();
    } else {
        zip.Extract();
    }
    bar.Clear();
    return outcome;
}

int ExitStatus(const UnzipOptions& options, const Outcome& outcome) {
    if (outcome.selected == 0 && !options.patterns.empty()) {
        std::fprintf(stderr, "caution: filename not matched\n");
        return kExitNoMatch;
    }
    return outcome.failed > 0 ? kExitWarning : kExitOk;
}

}  // namespace

int RunExtract(const UnzipOptions& options) {
    if (!options.quiet) std::printf("Archive:  %s\n", options.archive.c_str());
    // The component makes the destination the current folder while it works, so it
    // must be given as a full path or relative entry folders would be doubled.
    const std::filesystem::path destination =
        std::filesystem::absolute(options.destination.empty() ? std::string(".") : options.destination);
    return ExitStatus(options, RunComponent(options, destination.string(), false));
}

int RunPipe(const UnzipOptions& options) {
    StandardOutput out;
    ConsoleServices services;
    TVCLUnZip zip(services);
    ProgressBar bar;
    Outcome outcome;
    Configure(zip, options, std::filesystem::absolute(options.archive).string(), outcome, bar);
    ReadArchiveDirectory(zip, options);
    zip.ExtractToStream(out);
    out.Flush();
    return ExitStatus(options, outcome);
}

int RunTest(const UnzipOptions& options) {
    if (!options.quiet) std::printf("Archive:  %s\n", options.archive.c_str());
    const Outcome outcome = RunComponent(options, std::string(), true);
    const int status = ExitStatus(options, outcome);
    if (status == kExitOk) {
        std::printf("No errors detected in compressed data of %s.\n", options.archive.c_str());
    } else if (status == kExitWarning) {
        std::printf("At least one error was detected in %s.\n", options.archive.c_str());
    }
    return status;
}

}  // namespace pelorin
