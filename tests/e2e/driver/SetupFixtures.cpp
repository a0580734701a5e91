// Distribution folders for tests of the setup program, built with the same writers
// the authoring tool uses.
#include "tests/e2e/driver/SetupFixtures.h"

#include "setup/BlockWriter.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tools/pelorin-build/ResourceDll.h"

namespace pelorin::e2e {

SetupData MinimalSetup() {
    SetupData data;
    data.Header.AppName = "Startup Test";
    data.Header.AppVerName = "Startup Test 1.0";
    data.Header.DefaultDirName = "Startup Test";
    data.Header.DefaultGroupName = "Startup Test";
    data.Header.MinWinMajor = 4;
    data.Header.MinNTMajor = 4;
    return data;
}

std::vector<std::uint8_t> DescriptionBytes(const SetupData& data) { return EncodeSetupDescription(data); }

std::vector<std::uint8_t> ResourceLibrary(const std::vector<std::uint8_t>& bytes, std::uint32_t id) {
    ResourceDllContent content;
    content.machine = sizeof(void*) == 8 ? Machine::Amd64 : Machine::I386;
    content.id = id;
    content.data = bytes;
    return MakeResourceDll(content);
}

void WriteDistribution(const std::string& folder, const std::vector<std::uint8_t>& dll) {
    CopyFileOrFail(ProgramPath("pelorin.exe"), folder + "\\pelorin.exe");
    if (!dll.empty()) WriteBytes(folder + "\\PELORIN.DLL", dll);
}

}  // namespace pelorin::e2e
