// A command line split into its arguments, as the programs read their switches: blanks separate,
// double quotes group and are removed (in a value too: /DIR="C:\My Apps"), backslashes stay.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

// The arguments of a command line as the platform hands it over, the program's own name first.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace pelorin
