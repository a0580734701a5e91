// Parses the command line of pelorin-unzip: single-letter options (which may be
// combined, as in -oq), the archive, patterns, -x PATTERN... and -d DIR anywhere after it.
#include "tools/pelorin-unzip/UnzipOptions.h"

#include "update/unzip/VCLUnZip.h"

namespace pelorin {

const char* UnzipUsage() {
    return "usage: pelorin-unzip [-l|-v|-t|-p] [-o|-n] [-j] [-q] [-P password] ARCHIVE [pattern ...]\n"
           "                     [-x pattern ...] [-d DIR]\n"
           "  -l  list the entries          -v  list them with methods and CRC-32s\n"
           "  -t  test every entry's CRC-32 -p  extract to standard output, bytes only\n"
           "  -o  overwrite existing files  -n  never overwrite (default: ask)\n"
           "  -j  junk paths: no folders    -q  quiet\n"
           "  -P  password of encrypted entries\n"
           "  -x  leave out the entries that match the patterns after it\n"
           "  -d  extract into DIR\n"
           "  -h, --help  this text         --version  the program's version\n"
           "Patterns: * and ? wildcards and <a-c> or <!x> character sets; case is ignored.\n";
}

std::string UnzipVersion() {
    const int component = TVCLUnZip::kThisVersion;
    return "pelorin-unzip 1.0 (extraction component " + std::to_string(component / 100) + "." +
           std::to_string(component % 100) + ")\n";
}

namespace {

// Takes the value of an option that needs one, from the rest of the same word or the next.
std::string OptionValue(const std::vector<std::string>& args, std::size_t& i, std::size_t& pos, char option) {
    const std::string& word = args[i];
    if (pos + 1 < word.size()) {
        std::string value = word.substr(pos + 1);
        pos = word.size();
        return value;
    }
    if (i + 1 >= args.size()) throw UsageError{std::string("option -") + option + " needs a value"};
    pos = word.size();
    return args[++i];
}

}  // namespace

UnzipOptions ParseUnzipOptions(const std::vector<std::string>& args) {
    UnzipOptions options;
    bool archiveSeen = false;
    bool optionsEnded = false;
    bool excluding = false;  // after -x, words are exclusions until the next option
    bool verbose = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (word == "--help" || word == "-h")) {
            options.command = UnzipCommand::Help;
            return options;
        }
        if (!optionsEnded && word == "--version") {
            options.command = UnzipCommand::Version;
            return options;
        }
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            if (excluding) {
                options.exclusions.push_back(word);
            } else if (!archiveSeen) {
                options.archive = word;
                archiveSeen = true;
            } else {
                options.patterns.push_back(word);
            }
            continue;
        }
        if (excluding && options.exclusions.empty()) throw UsageError{"option -x needs patterns"};
        excluding = false;
        for (std::size_t pos = 1; pos < word.size(); ++pos) {
            const char c = word[pos];
            switch (c) {
            case 'l': options.command = UnzipCommand::List; break;
            case 'v':
                options.command = UnzipCommand::VerboseList;
                verbose = true;
                break;
            case 't': options.command = UnzipCommand::Test; break;
            case 'p': options.command = UnzipCommand::Pipe; break;
            case 'o': options.overwrite = OverwriteChoice::Always; break;
            case 'n': options.overwrite = OverwriteChoice::Never; break;
            case 'j': options.junkPaths = true; break;
            case 'q': options.quiet = true; break;
            case 'x': excluding = true; break;
            case 'P': options.password = OptionValue(args, i, pos, c); break;
            case 'd': options.destination = OptionValue(args, i, pos, c); break;
            default: throw UsageError{std::string("unknown option -") + c};
            }
        }
    }
    if (excluding && options.exclusions.empty()) throw UsageError{"option -x needs patterns"};
    // As with the common unzip tools, -v on its own asks for the version.
    if (!archiveSeen && verbose) {
        options.command = UnzipCommand::Version;
        return options;
    }
    if (!archiveSeen) throw UsageError{"no archive given"};
    return options;
}

}  // namespace pelorin
