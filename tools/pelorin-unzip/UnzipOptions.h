// The command line of pelorin-unzip: what to do with which archive, where, and how
// existing files are treated. Follows the conventions of the common unzip tools.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

enum class UnzipCommand {
    Extract,
    Pipe,         // -p: the entries' bytes to standard output
    List,         // -l: sizes, dates and names
    VerboseList,  // -v: also methods, compressed sizes and CRC-32s
    Test,
    Help,
    Version,
};
enum class OverwriteChoice { Ask, Always, Never };

struct UnzipOptions {
    UnzipCommand command = UnzipCommand::Extract;
    OverwriteChoice overwrite = OverwriteChoice::Ask;
    bool junkPaths = false;  // -j: every file straight into the destination
    bool quiet = false;      // -q: no listing of the extracted names
    std::string password;    // -P
    std::string archive;
    std::vector<std::string> patterns;
    std::vector<std::string> exclusions;  // -x PATTERN...: left out even when a pattern picks them
    std::string destination;              // -d; empty means the current folder
};

// Exit statuses: 0 success, 1 some entries skipped or failed, 2 and above fatal.
constexpr int kExitOk = 0;
constexpr int kExitWarning = 1;
constexpr int kExitArchiveError = 2;
constexpr int kExitNoArchive = 9;
constexpr int kExitUsage = 10;
constexpr int kExitNoMatch = 11;
constexpr int kExitUserAbort = 80;

// Raised for a command line that cannot be understood.
struct UsageError {
    std::string message;
};

UnzipOptions ParseUnzipOptions(const std::vector<std::string>& args);

const char* UnzipUsage();
std::string UnzipVersion();

}  // namespace pelorin
