// Runs the real pelorin.exe for the start-up tests: private TMP folder, optional
// Windows version under Wine, every box answered with OK.
#include "tests/e2e/startup/SetupRun.h"

#include <memory>

#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/SetupFixtures.h"

namespace pelorin::e2e {

namespace {

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const FindHandle find(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find.get(), &found));
    return names;
}

}  // namespace

SetupRun RunSetupIn(const std::string& folder, const std::string& wineVersion)
{
    const ScratchDir temp("pelorin-setup-tmp");
    const EnvOverride tmp("TMP", temp.path().c_str());
    std::unique_ptr<WineVersionOverride> version;
    if (!wineVersion.empty()) version = std::make_unique<WineVersionOverride>("pelorin.exe", wineVersion);

    SetupRun run;
    RunningProgram program(Quote(folder + "\\pelorin.exe"), folder);
    run.boxes = AnswerBoxesUntilExit(program, "OK");
    run.exitCode = program.waitForExit(10);
    run.leftInTemp = FilesIn(temp.path());
    return run;
}

SetupRun RunSetup(const std::vector<std::uint8_t>& dll, const std::string& wineVersion)
{
    const ScratchDir folder("pelorin-setup");
    WriteDistribution(folder.path(), dll);
    return RunSetupIn(folder.path(), wineVersion);
}

}  // namespace pelorin::e2e
