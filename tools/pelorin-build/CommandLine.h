// The tool's command line: build a distribution folder from a project, or dump a
// setup description; unknown or incomplete options are usage errors.
#pragma once

#include <string>
#include <vector>

#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/PackageListing.h"

namespace pelorin {

struct CommandLine {
    enum class Action { Build, Dump, Help, List, Verify, Extract };
    Action action = Action::Help;
    BuildOptions build;
    std::string dumpPath;
    std::string packageDir;  // --list, --verify, --extract
    std::string extractDir;  // --extract
    ListFormat listFormat = ListFormat::Text;
    bool formatGiven = false;
};

// Throws Exception with a short reason for a malformed command line.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace pelorin
