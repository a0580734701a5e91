// The switches of the setup program: how much of the run is shown, the folder and group that
// replace the defaults, the log file, the restart rule and the request for the switch list.
#pragma once

#include <optional>
#include <string>

namespace pelorin {

enum class RunMode {
    Interactive,  // every page and question, as without switches
    Silent,       // no wizard pages and no questions; the installation window shows its progress
    VerySilent,   // nothing shown at all
};

struct SetupOptions {
    RunMode Mode = RunMode::Interactive;
    std::optional<std::string> Dir;    // /DIR=: the destination folder instead of the default
    std::optional<std::string> Group;  // /GROUP=: the program group instead of the default
    std::string LogPath;               // /LOG=: the plain-text log of the run; empty: none
    bool NoRestart = false;            // /NORESTART: a required restart is left to the caller
    bool Help = false;                 // /? or /HELP
    std::string Invalid;               // the first argument not understood, as written; the
                                       // others are read all the same

    bool Unattended() const { return Mode != RunMode::Interactive; }
};

// The switches of a command line (the program's own name first). Switches are case-insensitive
// and start with "/" or "-"; /DIR, /GROUP and /LOG take a value after "=".
SetupOptions ParseSetupCommandLine(const std::string& commandLine);

// The text of the box that /? shows.
const char* SetupSwitchesHelp();

}  // namespace pelorin
