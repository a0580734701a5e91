// pelorin-unzip: lists, tests and extracts zip archives with the update wizard's
// extraction component. Exit status 0 success, 1 some entries failed, 2 and above fatal.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/pelorin-unzip/Commands.h"
#include "update/unzip/UnzipErrors.h"

int main(int argc, char** argv) {
    using namespace pelorin;
    const std::vector<std::string> args(argv + 1, argv + argc);
    UnzipOptions options;
    try {
        options = ParseUnzipOptions(args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "pelorin-unzip: %s\n%s", error.message.c_str(), UnzipUsage());
        return kExitUsage;
    }
    if (options.command == UnzipCommand::Help) {
        std::fputs(UnzipUsage(), stdout);
        return kExitOk;
    }
    if (options.command == UnzipCommand::Version) {
        std::fputs(UnzipVersion().c_str(), stdout);
        return kExitOk;
    }
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(options.archive, ignored)) {
        std::fprintf(stderr, "pelorin-unzip: cannot find %s\n", options.archive.c_str());
        return kExitNoArchive;
    }
    try {
        switch (options.command) {
        case UnzipCommand::List:
        case UnzipCommand::VerboseList: return RunList(options);
        case UnzipCommand::Test: return RunTest(options);
        case UnzipCommand::Extract: return RunExtract(options);
        case UnzipCommand::Pipe: return RunPipe(options);
        case UnzipCommand::Help:
        case UnzipCommand::Version: break;
        }
    } catch (const EUserCanceled& error) {
        std::fprintf(stderr, "pelorin-unzip: %s\n", error.what());
        return kExitUserAbort;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "pelorin-unzip: %s: %s\n", options.archive.c_str(), error.what());
        return kExitArchiveError;
    }
    return kExitOk;
}
