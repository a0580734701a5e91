// The real pelorin.exe under Wine: a good start, and every fatal start-up message
// with its caption, icon and exit, for damaged distributions and refused versions.
#include <gtest/gtest.h>

#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/SetupFixtures.h"
#include "tests/e2e/startup/SetupRun.h"

namespace pelorin::e2e {
namespace {

constexpr char kDllFailure[] =
    "Setup Wizard was unable to load PELORIN.DLL. This DLL is required to execute Setup Wizard.";

std::vector<std::uint8_t> Dll(const SetupData& data) { return ResourceLibrary(DescriptionBytes(data)); }

SetupData WithLimits(int winMajor, int winMinor, int ntMajor, int ntMinor) {
    SetupData data = MinimalSetup();
    data.Header.MinWinMajor = static_cast<std::uint8_t>(winMajor);
    data.Header.MinWinMinor = static_cast<std::uint8_t>(winMinor);
    data.Header.MinNTMajor = static_cast<std::uint8_t>(ntMajor);
    data.Header.MinNTMinor = static_cast<std::uint8_t>(ntMinor);
    return data;
}

void ExpectBox(const driver::MessageBoxInfo& box, const std::string& caption, const std::string& text) {
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, "stop") << text;
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
}

// Start-up succeeded: no box, and the program either went on to its windows or, where
// it has none to show, ended with 0.
void ExpectCleanStart(const SetupRun& run) {
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().text;
    EXPECT_TRUE(run.reachedWindows || run.exitCode == std::optional<DWORD>(0));
    EXPECT_TRUE(run.leftInTemp.empty()) << run.leftInTemp.front();
}

// The exit codes of a failed start and of a refused Windows version.
constexpr DWORD kFailed = 1603;
constexpr DWORD kRefusedPlatform = 1633;

// One "Error" box with text, then the end of the program with the code, nothing left in TMP.
void ExpectFatal(const SetupRun& run, const std::string& text, DWORD code = kFailed) {
    ASSERT_EQ(run.boxes.size(), 1u);
    ExpectBox(run.boxes[0], "Error", text);
    EXPECT_EQ(run.exitCode, std::optional<DWORD>(code));
    EXPECT_TRUE(run.leftInTemp.empty()) << run.leftInTemp.front();
}

TEST(Startup, AGoodDistributionStartsAndEndsCleanly) { ExpectCleanStart(RunSetup(Dll(MinimalSetup()))); }

TEST(Startup, ADistributionMadeByTheAuthoringTool) {
    const ScratchDir work("pelorin-tool");
    const std::string project =
        "[Setup]\r\nAppName = Tool Test\r\nAppVerName = Tool Test 2.0\r\nDefaultDirName = Tool Test\r\n"
        "DefaultGroupName = Tool Test\r\nMinWinVersion = 4.0\r\nMinNTVersion = 4.0\r\n";
    WriteBytes(work / "test.pelproj", std::vector<std::uint8_t>(project.begin(), project.end()));
    const ToolResult built = RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(work / "test.pelproj") +
                                     " -o " + Quote(work / "dist"));
    ASSERT_EQ(built.exitCode, 0u) << built.output;
    ExpectCleanStart(RunSetupIn(work / "dist"));

    const std::string noNT = project.substr(0, project.find("MinNTVersion")) + "MinNTVersion = none\r\n";
    WriteBytes(work / "nont.pelproj", std::vector<std::uint8_t>(noNT.begin(), noNT.end()));
    const ToolResult builtNoNT = RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(work / "nont.pelproj") +
                                         " -o " + Quote(work / "nont"));
    ASSERT_EQ(builtNoNT.exitCode, 0u) << builtNoNT.output;
    ExpectFatal(RunSetupIn(work / "nont"), "This program will not run on Windows NT.", kRefusedPlatform);
}

TEST(Startup, AMissingLibraryIsReportedTwice) {
    const SetupRun run = RunSetup({});
    ASSERT_EQ(run.boxes.size(), 2u);
    ExpectBox(run.boxes[0], "Fatal error", "Error while loading the DLL.");
    ExpectBox(run.boxes[1], "Error", kDllFailure);
    EXPECT_EQ(run.exitCode, std::optional<DWORD>(kFailed));
    EXPECT_TRUE(run.leftInTemp.empty()) << "the empty extraction file stays behind";
}

TEST(Startup, ALibraryWithoutTheDescription) {
    const SetupRun run = RunSetup(ResourceLibrary(DescriptionBytes(MinimalSetup()), 103));
    ASSERT_EQ(run.boxes.size(), 2u);
    ExpectBox(run.boxes[0], "Fatal error", "Resource 102 not found");
    ExpectBox(run.boxes[1], "Error", kDllFailure);
    EXPECT_TRUE(run.leftInTemp.empty());
}

TEST(Startup, DamagedDescriptions) {
    std::vector<std::uint8_t> bytes = DescriptionBytes(MinimalSetup());
    bytes[3] ^= 0x20;  // "zpw102bs" -> "zpW102bs"
    ExpectFatal(RunSetup(ResourceLibrary(bytes)),
                "The Setup Wizard files are corrupted, or are incompatible with this version of Pelorin Wizard. "
                "Please correct the problem or contact your provider.");

    bytes = DescriptionBytes(MinimalSetup());
    bytes[8 + 16 + 4] ^= 0x01;  // inside the header block's compressed payload
    ExpectFatal(RunSetup(ResourceLibrary(bytes)),
                "The Setup Wizard files are corrupted. Please contact your provider.");

    bytes = DescriptionBytes(MinimalSetup());
    bytes[8 + 9] ^= 0x01;  // the header block's DataLength
    ExpectFatal(RunSetup(ResourceLibrary(bytes)),
                "The Setup Wizard files are corrupted. Please contact your provider.");
}

TEST(Startup, ADescriptionThatEndsEarlyEndsWithTheStandardErrorBox) {
    std::vector<std::uint8_t> bytes = DescriptionBytes(MinimalSetup());
    bytes.resize(8 + 10);
    const SetupRun run = RunSetup(ResourceLibrary(bytes));
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "Setup Wizard");
    EXPECT_EQ(run.boxes[0].icon, "stop");
    EXPECT_FALSE(run.boxes[0].text.empty());
    EXPECT_EQ(run.boxes[0].text.back(), '.');
    EXPECT_NE(run.exitCode, std::optional<DWORD>(0));
    EXPECT_TRUE(run.leftInTemp.empty());
}

TEST(Startup, VersionRefusalsOnTheDefaultNT) {
    ExpectFatal(RunSetup(Dll(WithLimits(4, 0, 0, 0))), "This program will not run on Windows NT.", kRefusedPlatform);
    ExpectFatal(RunSetup(Dll(WithLimits(4, 0, 6, 2))), "This program requires Windows NT version 6.02 or later.",
                kRefusedPlatform);
}

TEST(Startup, VersionRulesOnWindows95) {
    ExpectFatal(RunSetup(Dll(WithLimits(0, 0, 4, 0)), "win95"), "This program must be run on Windows NT.",
                kRefusedPlatform);
    ExpectFatal(RunSetup(Dll(WithLimits(4, 10, 4, 0)), "win95"), "This program requires Windows version 4.1 or later.",
                kRefusedPlatform);
    ExpectCleanStart(RunSetup(Dll(WithLimits(4, 0, 0, 0)), "win95"));
}

TEST(Startup, VersionRulesOnOlderNT) {
    ExpectFatal(RunSetup(Dll(WithLimits(4, 0, 4, 10)), "nt40"),
                "This program requires Windows NT version 4.1 or later.", kRefusedPlatform);
    ExpectCleanStart(RunSetup(Dll(WithLimits(0, 0, 4, 0)), "nt40"));
    ExpectFatal(RunSetup(Dll(WithLimits(4, 0, 4, 0)), "nt351"), "This program requires Windows NT version 4. or later.",
                kRefusedPlatform);
}

TEST(Startup, Win32sIsRefusedBeforeAnythingElse) {
    ExpectFatal(RunSetup({}, "win31"), "This program will not run on Win32s.", kRefusedPlatform);
}

TEST(Driver, AnswersABoxFromTheCommandLine) {
    const ScratchDir folder("pelorin-driver");
    WriteDistribution(folder.Path(), {});
    const ScratchDir temp("pelorin-driver-tmp");
    const EnvOverride tmp("TMP", temp.Path().c_str());
    RunningProgram program(Quote(folder / "pelorin.exe"), folder.Path());
    const std::string driver = Quote(ProgramPath("pelorin-driver.exe"));
    const std::string pid = std::to_string(program.pid());

    const ToolResult first = RunTool(driver + " answer --timeout 20 --pid " + pid +
                                     " --expect-caption \"Fatal error\" --expect-text \"Error while loading the DLL.\""
                                     " --expect-icon stop --expect-buttons OK --press OK");
    EXPECT_EQ(first.exitCode, 0u) << first.output;
    EXPECT_NE(first.output.find("caption: Fatal error\r\n"), std::string::npos) << first.output;
    EXPECT_NE(first.output.find("pressed: OK"), std::string::npos) << first.output;

    // A mismatch is reported by the exit status; the button is still pressed.
    const ToolResult second =
        RunTool(driver + " answer --timeout 20 --pid " + pid + " --expect-text \"something else\" --press OK");
    EXPECT_EQ(second.exitCode, 1u) << second.output;

    const ToolResult ended = RunTool(driver + " wait-exit --timeout 20 --expect-exit 1603 --pid " + pid);
    EXPECT_EQ(ended.exitCode, 0u) << ended.output;

    const ToolResult none = RunTool(driver + " wait --timeout 0.5 --class #32770 --pid " + pid);
    EXPECT_EQ(none.exitCode, 2u) << none.output;
}

}  // namespace
}  // namespace pelorin::e2e
