// Runs the real pelorin.exe for the start-up tests: private TMP folder, optional
// Windows version under Wine, every box answered with OK.
#include "tests/e2e/startup/SetupRun.h"

#include <memory>

#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/SetupFixtures.h"

namespace pelorin::e2e {

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
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

// A visible top-level window of the process that is not a dialog box.
bool ShowsOwnWindow(DWORD pid) {
    driver::WindowQuery query;
    query.pid = pid;
    for (const driver::WindowInfo& window : driver::FindWindows(query))
        if (window.className != "#32770") return true;
    return false;
}

}  // namespace

SetupRun RunSetupIn(const std::string& folder, const std::string& wineVersion) {
    const ScratchDir temp("pelorin-setup-tmp");
    const EnvOverride tmp("TMP", temp.Path().c_str());
    std::unique_ptr<WineVersionOverride> version;
    if (!wineVersion.empty()) version = std::make_unique<WineVersionOverride>("pelorin.exe", wineVersion);

    SetupRun run;
    RunningProgram program(Quote(folder + "\\pelorin.exe"), folder);
    const DWORD start = ::GetTickCount();
    while (program.running() && ::GetTickCount() - start < 30000) {
        if (ShowsOwnWindow(program.pid())) {
            run.reachedWindows = true;
            break;
        }
        if (std::optional<driver::MessageBoxInfo> box = AnswerNextBox(program.pid(), "OK", 0.2))
            run.boxes.push_back(std::move(*box));
    }
    if (!run.reachedWindows) run.exitCode = program.waitForExit(10);
    run.leftInTemp = FilesIn(temp.Path());
    return run;
}

SetupRun RunSetup(const std::vector<std::uint8_t>& dll, const std::string& wineVersion) {
    const ScratchDir folder("pelorin-setup");
    WriteDistribution(folder.Path(), dll);
    return RunSetupIn(folder.Path(), wineVersion);
}

}  // namespace pelorin::e2e
