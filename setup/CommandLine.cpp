// Reading the setup program's command line: its arguments, then the switches by name. All are
// read, so that a run refused for a bad switch still knows its mode and its log.
#include "setup/CommandLine.h"

#include "core/SplitCommandLine.h"
#include "core/TextCase.h"

namespace pelorin {

SetupOptions ParseSetupCommandLine(const std::string& commandLine) {
    SetupOptions options;
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool isSwitch = argument.size() > 1 && (argument[0] == '/' || argument[0] == '-');
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
        const std::optional<std::string> value =
            equals == std::string::npos ? std::nullopt : std::optional<std::string>(argument.substr(equals + 1));
        if (!isSwitch) {
            if (options.Invalid.empty()) options.Invalid = argument;
        } else if (!value && SameText(name, "SILENT")) {
            options.Mode = RunMode::Silent;
        } else if (!value && SameText(name, "VERYSILENT")) {
            options.Mode = RunMode::VerySilent;
        } else if (!value && SameText(name, "NORESTART")) {
            options.NoRestart = true;
        } else if (!value && (SameText(name, "?") || SameText(name, "HELP"))) {
            options.Help = true;
        } else if (value && !value->empty() && SameText(name, "DIR")) {
            options.Dir = *value;
        } else if (value && !value->empty() && SameText(name, "GROUP")) {
            options.Group = *value;
        } else if (value && !value->empty() && SameText(name, "LOG")) {
            options.LogPath = *value;
        } else if (options.Invalid.empty()) {
            options.Invalid = argument;
        }
    }
    return options;
}

const char* SetupSwitchesHelp() {
    return "Setup Wizard takes these switches:\r\n\r\n"
           "/SILENT: no wizard pages and no questions; the installation shows its progress\r\n"
           "/VERYSILENT: nothing is shown\r\n"
           "/DIR=\"folder\": install into this folder\r\n"
           "/GROUP=\"name\": put the program icons into this group\r\n"
           "/LOG=\"file\": write a log of the run into this file\r\n"
           "/NORESTART: never restart the computer; exit code 3010 tells that a restart is needed\r\n"
           "/? or /HELP: this list\r\n\r\n"
           "Exit codes: 0 success, 3010 success but a restart is needed, 1602 cancelled, 1603 failed, "
           "1633 this version of Windows is not supported, 87 invalid command line.";
}

}  // namespace pelorin
