// Reproducible builds: the same project and sources give the same PELORIN.DLL and PELORIN.DAT
// from any folder and in any order, and the images' own stamp is SOURCE_DATE_EPOCH or nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/LittleEndian.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/ResourceDll.h"
#include "tools/pelorin-build/SourceDateEpoch.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

const char* const kProject =
    "[Setup]\nAppName=Same\nAppVerName=Same 1\nDefaultDirName=Same\nCreateUninstall=yes\n"
    "[Dir]\nDirName={app}\\Data\n"
    "[File]\nSource=a.txt\nDestName={app}\\a.txt\n"
    "[File]\nSource=b.bin\nDestName={app}\\Data\\b.bin\n";

// The project's sources in folder, written in the order given, all with the same time.
void WriteSources(const std::string& folder, bool reversed) {
    std::filesystem::create_directories(folder);
    const std::vector<std::pair<std::string, std::string>> files = {
        {"p.pelproj", kProject}, {"a.txt", "text of a\r\n"}, {"b.bin", std::string(5000, '\x7f') + "end"}};
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto& [name, text] = files[reversed ? files.size() - 1 - i : i];
        testing::WriteText(testing::JoinPath(folder, name), text);
        std::filesystem::last_write_time(testing::JoinPath(folder, name),
                                         std::filesystem::file_time_type(std::chrono::hours(24 * 365 * 30)));
    }
}

BuildOptions OptionsFor(const std::string& folder, const std::string& output) {
    BuildOptions options;
    options.projectPath = testing::JoinPath(folder, "p.pelproj");
    options.outputDir = output;
    options.withoutSetupExe = true;
    options.withoutUninstaller = true;
    options.machine = Machine::Amd64;
    return options;
}

TEST(ReproducibleBuild, TwoFoldersAndTwoWritingOrdersGiveTheSameBytes) {
    const ScratchDir dir;
    const std::string first = dir / "first";
    const std::string second = testing::JoinPath(dir / "elsewhere", "deeper copy");
    WriteSources(first, false);
    WriteSources(second, true);
    BuildDistribution(OptionsFor(first, dir / "out1"));
    BuildDistribution(OptionsFor(second, dir / "out2"));
    for (const char* name : {"PELORIN.DLL", "PELORIN.DAT"})
        EXPECT_EQ(testing::ReadBytes(testing::JoinPath(dir / "out1", name)),
                  testing::ReadBytes(testing::JoinPath(dir / "out2", name)))
            << name;
}

TEST(ReproducibleBuild, TheImageStampIsSourceDateEpochOrZero) {
    EXPECT_EQ(ImageTimeStamp(std::nullopt), 0u);
    EXPECT_EQ(ImageTimeStamp(std::string("1700000000")), 1700000000u);
    EXPECT_EQ(ImageTimeStamp(std::string("4294967295")), 4294967295u);
    for (const char* bad : {"", "-1", "17e8", " 1", "4294967296", "12345678901"})
        EXPECT_THROW(ImageTimeStamp(std::string(bad)), BuildError) << bad;

    ResourceDllContent content;
    content.timeStamp = 1700000000u;
    content.data = {1, 2, 3};
    const std::vector<std::uint8_t> image = MakeResourceDll(content);
    const std::uint32_t pe = GetLE32(&image[0x3C]);
    EXPECT_EQ(GetLE32(&image[pe + 8]), 1700000000u);  // the file header's TimeDateStamp
}

}  // namespace
}  // namespace pelorin
