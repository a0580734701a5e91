// Reads the uninstaller's command line: program name, then the log path and the switches in any
// order; the first argument not understood is kept to be reported.
#include "uninstall/UninstallArgs.h"

#include "core/SplitCommandLine.h"
#include "core/TextCase.h"

namespace pelorin {

UninstallArgs ParseUninstallArgs(const std::string& commandLine) {
    UninstallArgs args;
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    int paths = 0;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool isSwitch = word.size() > 1 && (word[0] == '/' || word[0] == '-');
        const std::size_t equals = word.find('=');
        const std::string name = isSwitch ? word.substr(1, equals == std::string::npos ? equals : equals - 1) : "";
        const bool hasValue = equals != std::string::npos;
        if (!word.empty() && !isSwitch) {
            args.LogPath = word;
            ++paths;
        } else if (isSwitch && !hasValue && SameText(name, "U")) {
            args.Uninstall = true;
        } else if (isSwitch && !hasValue && SameText(name, "S")) {
            args.Silent = true;
        } else if (isSwitch && !hasValue && SameText(name, "REMOVESHARED")) {
            args.RemoveShared = true;
        } else if (isSwitch && hasValue && equals + 1 < word.size() && SameText(name, "LOG")) {
            args.RunLogPath = word.substr(equals + 1);
        } else if (args.Invalid.empty()) {
            args.Invalid = word.empty() ? "\"\"" : word;
        }
    }
    args.Valid = args.Uninstall && paths == 1 && args.Invalid.empty();
    return args;
}

}  // namespace pelorin
