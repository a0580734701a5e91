// Reads the tool's options; every option that takes a value accepts it as the next
// argument, and exactly one project (or one --dump file) is expected.
#include "tools/pelorin-build/CommandLine.h"

#include "core/Exception.h"

namespace pelorin {

const char* const kUsage =
    "usage: pelorin-build PROJECT -o OUTDIR [--setup-exe PATH | --no-setup-exe]\n"
    "                     [--uninstaller PATH | --no-uninstaller] [--machine i386|amd64]\n"
    "                     [--sign COMMAND]\n"
    "       pelorin-build --dump PELORIN.DLL|DESCRIPTION\n"
    "       pelorin-build --list DIST [--format=text|tsv]\n"
    "       pelorin-build --verify DIST\n"
    "       pelorin-build --extract DIST OUTDIR\n"
    "\n"
    "Builds a distribution folder (pelorin.exe, PELORIN.DLL, PELORIN.DAT) from a project file,\n"
    "or prints a setup description as text. Without --setup-exe, pelorin.exe is taken from the\n"
    "tool's own folder or from the win64 build tree beside the tool's build tree; FERROW.EXE,\n"
    "which a project with CreateUninstall installs into {win}, is found the same way.\n"
    "--sign signs pelorin.exe, PELORIN.DLL and the stored FERROW.EXE: COMMAND runs through the\n"
    "shell with %1 replaced by the unsigned file and %2 by the signed file to write (without %2\n"
    "it signs %1 in place).\n"
    "\n"
    "DIST is a distribution folder. --list prints every file entry (sizes, ratio, version, time,\n"
    "copy mode, flags, destination) with totals; --format=tsv prints a header line and raw numbers\n"
    "separated by tabs instead. --verify inflates every stored file, checks sizes and Adler-32 and\n"
    "that PELORIN.DLL, PELORIN.DAT and pelorin.exe belong together: exit 0 when intact, else 1 and\n"
    "one line per problem. --extract writes every file below OUTDIR as setup would install it,\n"
    "{app}, {win}, {sys} and {src} becoming folders of those names, with the stored times; it\n"
    "refuses destinations that would leave OUTDIR and never leaves a half-written file.\n";

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) throw Exception("option " + arg + " needs a value");
            return args[++i];
        };
        if (arg == "-h" || arg == "--help") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (arg == "-o" || arg == "--output") {
            result.build.outputDir = value();
        } else if (arg == "--setup-exe") {
            result.build.setupExe = value();
        } else if (arg == "--no-setup-exe") {
            result.build.withoutSetupExe = true;
        } else if (arg == "--uninstaller") {
            result.build.uninstaller = value();
        } else if (arg == "--no-uninstaller") {
            result.build.withoutUninstaller = true;
        } else if (arg == "--machine") {
            const std::string name = value();
            result.build.machine = ParseMachine(name);
            if (!result.build.machine) throw Exception("unknown machine " + name + " (use i386 or amd64)");
        } else if (arg == "--sign") {
            result.build.sign.emplace(value());
        } else if (arg == "--dump") {
            result.action = CommandLine::Action::Dump;
            result.dumpPath = value();
        } else if (arg == "--list" || arg == "--verify") {
            result.action = arg == "--list" ? CommandLine::Action::List : CommandLine::Action::Verify;
            result.packageDir = value();
        } else if (arg == "--extract") {
            result.action = CommandLine::Action::Extract;
            result.packageDir = value();
            result.extractDir = value();
        } else if (arg == "--format" || arg.rfind("--format=", 0) == 0) {
            const std::string name = arg == "--format" ? value() : arg.substr(9);
            if (name != "text" && name != "tsv") throw Exception("unknown list format " + name + " (use text or tsv)");
            result.listFormat = name == "tsv" ? ListFormat::Tsv : ListFormat::Text;
            result.formatGiven = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw Exception("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (result.action == CommandLine::Action::Dump) {
        if (!positional.empty()) throw Exception("--dump takes one file and nothing else");
        return result;
    }
    const bool inspects = result.action == CommandLine::Action::List || result.action == CommandLine::Action::Verify ||
                          result.action == CommandLine::Action::Extract;
    if (result.formatGiven && result.action != CommandLine::Action::List)
        throw Exception("--format goes with --list only");
    if (inspects) {
        if (!positional.empty()) throw Exception("--list, --verify and --extract take a distribution folder only");
        return result;
    }
    if (positional.empty() && args.empty()) return result;
    if (positional.size() != 1) throw Exception("expected exactly one project file");
    if (result.build.outputDir.empty()) throw Exception("the output folder is missing (-o OUTDIR)");
    if (result.build.withoutSetupExe && !result.build.setupExe.empty())
        throw Exception("--setup-exe and --no-setup-exe exclude each other");
    if (result.build.withoutUninstaller && !result.build.uninstaller.empty())
        throw Exception("--uninstaller and --no-uninstaller exclude each other");
    result.action = CommandLine::Action::Build;
    result.build.projectPath = positional.front();
    return result;
}

}  // namespace pelorin
