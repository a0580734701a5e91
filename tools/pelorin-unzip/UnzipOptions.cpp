// Parses the command line of pelorin-unzip: single-letter options (which may be
// combined, as in -oq), the archive, patterns and -d DIR anywhere after the archive.
#include "tools/pelorin-unzip/UnzipOptions.h"

namespace pelorin {

const char* UnzipUsage() {
    return "usage: pelorin-unzip [-l|-t] [-o|-n] [-j] [-q] [-P password] ARCHIVE [pattern ...] [-d DIR]\n"
           "  -l  list the entries          -t  test every entry's CRC-32\n"
           "  -o  overwrite existing files  -n  never overwrite (default: ask)\n"
           "  -j  junk paths: no folders    -q  quiet\n"
           "  -P  password of encrypted entries\n"
           "  -d  extract into DIR\n"
           "Patterns: * and ? wildcards and <a-c> or <!x> character sets; case is ignored.\n";
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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            if (!archiveSeen) {
                options.archive = word;
                archiveSeen = true;
            } else {
                options.patterns.push_back(word);
            }
            continue;
        }
        for (std::size_t pos = 1; pos < word.size(); ++pos) {
            const char c = word[pos];
            switch (c) {
            case 'l': options.command = UnzipCommand::List; break;
            case 't': options.command = UnzipCommand::Test; break;
            case 'o': options.overwrite = OverwriteChoice::Always; break;
            case 'n': options.overwrite = OverwriteChoice::Never; break;
            case 'j': options.junkPaths = true; break;
            case 'q': options.quiet = true; break;
            case 'P': options.password = OptionValue(args, i, pos, c); break;
            case 'd': options.destination = OptionValue(args, i, pos, c); break;
            default: throw UsageError{std::string("unknown option -") + c};
            }
        }
    }
    if (!archiveSeen) throw UsageError{"no archive given"};
    return options;
}

}  // namespace pelorin
