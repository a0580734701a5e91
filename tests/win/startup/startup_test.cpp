// Start-up pieces in the test process: the version rules, the program folder, the
// choice of the system folder and the extraction of the description from a library.
#include <gtest/gtest.h>

#include "core/Exception.h"
#include "setup/CmnFunc.h"
#include "setup/Startup.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/SetupFixtures.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

SetupHeader Limits(int winMajor, int winMinor, int ntMajor, int ntMinor) {
    SetupHeader header;
    header.MinWinMajor = static_cast<std::uint8_t>(winMajor);
    header.MinWinMinor = static_cast<std::uint8_t>(winMinor);
    header.MinNTMajor = static_cast<std::uint8_t>(ntMajor);
    header.MinNTMinor = static_cast<std::uint8_t>(ntMinor);
    return header;
}

WindowsVersion NT(int major, int minor) { return {major, minor, VER_PLATFORM_WIN32_NT}; }

WindowsVersion Win(int major, int minor) { return {major, minor, VER_PLATFORM_WIN32_WINDOWS}; }

TEST(VersionRefusal, NTFamily) {
    EXPECT_EQ(VersionRefusal(NT(6, 1), Limits(4, 0, 0, 0)), "This program will not run on Windows NT.");
    EXPECT_EQ(VersionRefusal(NT(3, 51), Limits(4, 0, 4, 0)), "This program requires Windows NT version 4. or later.");
    EXPECT_EQ(VersionRefusal(NT(4, 0), Limits(0, 0, 4, 10)), "This program requires Windows NT version 4.1 or later.");
    EXPECT_EQ(VersionRefusal(NT(3, 10), Limits(0, 0, 3, 51)),
              "This program requires Windows NT version 3.51 or later.");
    EXPECT_EQ(VersionRefusal(NT(4, 0), Limits(0, 0, 4, 0)), "");
    EXPECT_EQ(VersionRefusal(NT(5, 0), Limits(0, 0, 4, 10)), "");  // a higher major beats any minor
    EXPECT_EQ(VersionRefusal(NT(3, 51), Limits(0, 0, 3, 51)), "");
}

TEST(VersionRefusal, NonNTFamily) {
    EXPECT_EQ(VersionRefusal(Win(4, 0), Limits(0, 0, 4, 0)), "This program must be run on Windows NT.");
    EXPECT_EQ(VersionRefusal(Win(4, 0), Limits(4, 10, 0, 0)), "This program requires Windows version 4.1 or later.");
    EXPECT_EQ(VersionRefusal(Win(4, 0), Limits(4, 5, 0, 0)), "This program requires Windows version 4.05 or later.");
    EXPECT_EQ(VersionRefusal(Win(4, 10), Limits(4, 10, 0, 0)), "");
    EXPECT_EQ(VersionRefusal(Win(4, 0), Limits(3, 10, 0, 0)), "");
}

TEST(SourceDirOf, DropsTheBackslashExceptAtADriveRoot) {
    EXPECT_EQ(SourceDirOf("C:\\Setup\\Disk1\\pelorin.exe"), "C:\\Setup\\Disk1");
    EXPECT_EQ(SourceDirOf("A:\\pelorin.exe"), "A:\\");
    EXPECT_EQ(SourceDirOf("\\\\server\\share\\pelorin.exe"), "\\\\server\\share");
}

TEST(ChooseSystemDir, InsideTheWindowsFolderNoTestIsMade) {
    // The folder does not even exist: with the Windows folder inside its path it is kept.
    EXPECT_EQ(ChooseSystemDir("C:\\windows", "C:\\windows\\no such system"), "C:\\windows\\no such system");
    // The test is case-sensitive.
    EXPECT_EQ(ChooseSystemDir("C:\\WINDOWS", "C:\\windows\\no such system"), "C:\\WINDOWS");
}

TEST(ChooseSystemDir, OutsideTheWindowsFolderItMustTakeAFile) {
    const ScratchDir sys;
    EXPECT_EQ(ChooseSystemDir("C:\\windows", sys.Path()), sys.Path());
    WIN32_FIND_DATAA found{};
    const FindHandle anything(::FindFirstFileA((sys / "*.tmp").c_str(), &found));
    EXPECT_FALSE(anything.valid()) << "the probe file was left behind";

    EXPECT_EQ(ChooseSystemDir("C:\\windows", sys / "missing"), "C:\\windows");
}

TEST(ExtractSetupDescription, CopiesTheResourceBytes) {
    const ScratchDir dir;
    const std::vector<std::uint8_t> bytes = e2e::DescriptionBytes(e2e::MinimalSetup());
    testing::WriteBytes(dir / "PELORIN.DLL", e2e::ResourceLibrary(bytes));
    ExtractSetupDescription(dir / "PELORIN.DLL", dir / "out.tmp");
    EXPECT_EQ(testing::ReadBytes(dir / "out.tmp"), bytes);
}

std::string ExtractionError(const std::string& dll, const std::string& target) {
    try {
        ExtractSetupDescription(dll, target);
    } catch (const Exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(ExtractSetupDescription, FailuresCarryTheirReason) {
    const ScratchDir dir;
    EXPECT_EQ(ExtractionError(dir / "PELORIN.DLL", dir / "out.tmp"), "Error while loading the DLL.");

    testing::WriteBytes(dir / "NOTPE.DLL", {'n', 'o', 't', ' ', 'a', ' ', 'l', 'i', 'b'});
    EXPECT_EQ(ExtractionError(dir / "NOTPE.DLL", dir / "out.tmp"), "Error while loading the DLL.");

    testing::WriteBytes(dir / "OTHER.DLL", e2e::ResourceLibrary({1, 2, 3}, 103));
    EXPECT_EQ(ExtractionError(dir / "OTHER.DLL", dir / "out.tmp"), "Resource 102 not found");

    testing::WriteBytes(dir / "PELORIN.DLL", e2e::ResourceLibrary({1, 2, 3}));
    EXPECT_EQ(ExtractionError(dir / "PELORIN.DLL", ""), "Cannot create file ");
    EXPECT_EQ(ExtractionError(dir / "PELORIN.DLL", dir / "missing\\out.tmp"),
              "Cannot create file " + (dir / "missing\\out.tmp"));
    // A device that is always full stands for a full drive: the reason is the full disk.
    EXPECT_EQ(ExtractionError(dir / "PELORIN.DLL", "Z:\\dev\\full"),
              "Error writing file Z:\\dev\\full\r\n\r\n" + SysErrorMessage(ERROR_DISK_FULL));
}

}  // namespace
}  // namespace pelorin
