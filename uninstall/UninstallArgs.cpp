// Reads the uninstaller's command line: program name, log path and "/U" in any order
// after the program name; the switch is recognised in either case.
#include "uninstall/UninstallArgs.h"

#include "core/SplitCommandLine.h"

namespace pelorin {

UninstallArgs ParseUninstallArgs(const std::string& commandLine) {
    UninstallArgs args;
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    int paths = 0;
    bool other = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "/U" || word == "/u") {
            args.Uninstall = true;
        } else if (!word.empty() && word[0] != '/') {
            args.LogPath = word;
            ++paths;
        } else {
            other = true;
        }
    }
    args.Valid = args.Uninstall && paths == 1 && !other;
    return args;
}

}  // namespace pelorin
