// Bad input: every complaint names the project file, the line and the field, the
// exit is an error, and no output is left behind (nor an older one disturbed).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/support/ScratchDir.h"
#include "tests/support/SmallDrive.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/CommandLine.h"
#include "tools/pelorin-build/Distribution.h"
#include "tools/pelorin-build/StagedOutput.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

const std::string kSetup = "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\n";  // lines 1-4

struct BadProject {
    const char* what;
    std::string text;
    int line;
    const char* field;
    const char* problem;
};

const BadProject kBadProjects[] = {
    {"unknown section", kSetup + "[Files]\nSource=x\n", 5, "[Files]", "unknown section"},
    {"unknown key", kSetup + "AppTitle=t\n", 5, "AppTitle", "unknown key in [Setup]"},
    {"missing source", kSetup + "[File]\nDestName={app}\\x\nSource=nothere.txt\n", 7, "Source", "file not found"},
    {"missing license", kSetup + "LicenseFile=gone.rtf\n", 5, "LicenseFile", "file not found"},
    {"header text too long", "[Setup]\nAppName=" + std::string(64, 'x') + "\nAppVerName=b\nDefaultDirName=c\n", 2,
     "AppName", "text of 64 characters is longer than the field's capacity of 63"},
    {"record text too long", kSetup + "[Run]\nFilename={app}\\" + std::string(58, 'r') + "\n", 6, "Filename",
     "capacity of 63"},
    {"zero-terminated text too long",
     kSetup + "[Registry]\nRootKey=HKCU\nSubKey=s\nValueType=string\nValueName=" + std::string(49, 'v') + "\n", 9,
     "ValueName", "capacity of 48"},
    {"bad number", kSetup + "[Icon]\nIconName=i\nFilename=f\nIconFilename=f\nIconIndex=12x\n", 9, "IconIndex",
     "not a whole number"},
    {"number out of range", kSetup + "[Icon]\nIconName=i\nFilename=f\nIconFilename=f\nIconIndex=2147483648\n", 9,
     "IconIndex", "not a whole number"},
    {"registry number not decimal", kSetup + "[Registry]\nRootKey=HKCU\nSubKey=s\nValueType=dword\nValueData=0x10\n", 9,
     "ValueData", "not a decimal 32-bit number"},
    {"bad version", kSetup + "MinNTVersion=4.123\n", 5, "MinNTVersion", "not a version"},
    {"bad colour", kSetup + "BackColor=rgb(1,2,300)\n", 5, "BackColor", "not a colour"},
    {"bad keyword", kSetup + "[File]\nSource=src.txt\nDestName=d\nCopyMode=sometimes\n", 8, "CopyMode",
     "\"sometimes\" is not one of: normal, never-replace"},
    {"unknown flag", kSetup + "[Run]\nFilename=f\nFlags=no-wait hidden\n", 7, "Flags", "unknown flag \"hidden\""},
    {"required key missing", kSetup + "\n[Dir]\n", 6, "DirName", "missing in [Dir]"},
    {"required key empty", kSetup + "[Ini]\nSection=\nKey=k\n", 6, "Section", "must not be empty"},
    {"key given twice", kSetup + "[Dir]\nDirName=a\nDirName=b\n", 7, "DirName", "given twice"},
    {"line without key", kSetup + "just text\n", 5, "", "expected Key = Value"},
    {"key outside a section", "AppName=a\n" + kSetup, 1, "AppName", "outside of any section"},
    {"second setup section", kSetup + kSetup, 5, "", "[Setup] is given twice"},
    {"upper-case constant", kSetup + "[Dir]\nDirName={APP}\\x\n", 6, "DirName", "written in lower case: {app}"},
    {"unused registry value", kSetup + "[Registry]\nRootKey=HKCU\nSubKey=s\nValueData=1\n", 8, "ValueData",
     "not used when ValueType is none"},
    {"exclusive flags", kSetup + "[Ini]\nSection=s\nKey=k\nFlags=uninstall-delete-entry,uninstall-delete-section\n", 8,
     "Flags", "exclude each other"},
    {"undo log without uninstall", kSetup + "[File]\nSource=src.txt\nFlags=undo-log\n", 7, "Flags",
     "needs CreateUninstall = yes"},
};

TEST(BadProject, ErrorNamesFileLineAndFieldAndWritesNothing) {
    for (const BadProject& bad : kBadProjects) {
        SCOPED_TRACE(bad.what);
        ScratchDir dir;
        testing::WriteText(dir / "src.txt", "source");
        const std::string project = dir / "bad.pelproj";
        testing::WriteText(project, bad.text);
        BuildOptions options{project, dir / "out", "", true, Machine::Amd64, "", false, std::nullopt};
        try {
            BuildDistribution(options);
            ADD_FAILURE() << "no error";
        } catch (const BuildError& error) {
            const std::string message = error.what();
            std::string where = project + ":" + std::to_string(bad.line) + ": ";
            if (*bad.field != '\0') where += std::string(bad.field) + ": ";
            EXPECT_EQ(message.rfind(where, 0), 0u) << message;
            EXPECT_NE(message.find(bad.problem), std::string::npos) << message;
        }
        EXPECT_TRUE(testing::ListFolder(dir / "out").empty());
    }
}

TEST(BadProject, MissingSetupSectionAndMissingProjectFile) {
    ScratchDir dir;
    testing::WriteText(dir / "empty.pelproj", "; nothing\n[Dir]\nDirName=x\n");
    BuildOptions options{dir / "empty.pelproj", dir / "out", "", true, Machine::Amd64, "", false, std::nullopt};
    EXPECT_THROW(
        try { BuildDistribution(options); } catch (const BuildError& e) {
            EXPECT_NE(std::string(e.what()).find("[Setup] section is missing"), std::string::npos);
            throw;
        },
        BuildError);
    options.projectPath = dir / "absent.pelproj";
    EXPECT_THROW(BuildDistribution(options), BuildError);
    EXPECT_TRUE(testing::ListFolder(dir / "out").empty());
}

TEST(BadProject, FailedBuildLeavesAnEarlierDistributionUntouched) {
    ScratchDir dir;
    testing::WriteText(dir / "out/PELORIN.DAT", "old archive");
    testing::WriteText(dir / "p.pelproj", kSetup + "[File]\nSource=missing\nDestName=x\n");
    BuildOptions options{dir / "p.pelproj", dir / "out", "", true, Machine::Amd64, "", false, std::nullopt};
    EXPECT_THROW(BuildDistribution(options), BuildError);
    EXPECT_EQ(testing::ListFolder(dir / "out"), std::vector<std::string>{"PELORIN.DAT"});
    EXPECT_EQ(testing::ReadBytes(dir / "out/PELORIN.DAT").size(), 11u);

    // A setup program that is not a Windows image is refused before anything is written.
    testing::WriteText(dir / "p.pelproj", kSetup);
    testing::WriteText(dir / "fake.exe", "MZ but nothing more");
    options.setupExe = dir / "fake.exe";
    options.withoutSetupExe = false;
    EXPECT_THROW(BuildDistribution(options), BuildError);
    EXPECT_EQ(testing::ListFolder(dir / "out"), std::vector<std::string>{"PELORIN.DAT"});
}

// A real small drive: the full disk is named, and nothing of the distribution stays on it.
TEST(BadProject, AFullDriveIsNamedAndLeavesNothing) {
    const testing::SmallDrive drive(64 * 1024);
    if (!drive.Mounted()) GTEST_SKIP() << "cannot mount a small drive here (it needs root)";
    ScratchDir dir;
    std::vector<std::uint8_t> noise(300000);
    std::uint32_t state = 7;
    for (std::uint8_t& b : noise) b = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 23);
    testing::WriteBytes(dir / "noise.bin", noise);
    testing::WriteText(dir / "p.pelproj", kSetup + "[File]\nSource=noise.bin\nDestName={app}\\noise.bin\n");
    BuildOptions options{dir / "p.pelproj", drive / "out", "", true, Machine::Amd64, "", false, std::nullopt};
    try {
        BuildDistribution(options);
        ADD_FAILURE() << "built onto a full drive";
    } catch (const BuildError& error) {
        EXPECT_NE(std::string(error.what()).find(std::string(": ") + std::strerror(ENOSPC)), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_empty(drive.Path()));
}

TEST(StagedOutputTest, UncommittedFilesAndCreatedFoldersAreRemoved) {
    ScratchDir dir;
    testing::WriteText(dir / "keep/old.txt", "old");
    {
        StagedOutput output(dir / "keep");
        testing::WriteText(output.Stage("old.txt"), "new");
    }
    EXPECT_EQ(testing::ListFolder(dir / "keep"), std::vector<std::string>{"old.txt"});
    EXPECT_EQ(testing::ReadBytes(dir / "keep/old.txt").size(), 3u);
    {
        StagedOutput output(dir / "new/deeper");
        testing::WriteText(output.Stage("a.txt"), "a");
    }
    EXPECT_TRUE(testing::ListFolder(dir.Path()) == std::vector<std::string>{"keep"});
    {
        StagedOutput output(dir / "keep");
        testing::WriteText(output.Stage("old.txt"), "replaced");
        output.Commit();
    }
    EXPECT_EQ(testing::ListFolder(dir / "keep"), std::vector<std::string>{"old.txt"});
    EXPECT_EQ(testing::ReadBytes(dir / "keep/old.txt").size(), 8u);
}

TEST(CommandLineTest, MalformedCommandLinesAreRefused) {
    using Args = std::vector<std::string>;
    for (const Args& args : {Args{"p"}, Args{"-o"}, Args{"p", "q", "-o", "d"}, Args{"p", "-o", "d", "--machine", "arm"},
                             Args{"p", "-o", "d", "--frobnicate"}, Args{"--dump", "a", "b"},
                             Args{"p", "-o", "d", "--no-setup-exe", "--setup-exe", "x"}}) {
        EXPECT_THROW(ParseCommandLine(args), Exception) << args.size();
    }
    const CommandLine ok = ParseCommandLine({"p", "-o", "d", "--machine", "x86", "--no-setup-exe"});
    EXPECT_EQ(ok.action, CommandLine::Action::Build);
    EXPECT_EQ(ok.build.machine, Machine::I386);
    EXPECT_TRUE(ok.build.withoutSetupExe);
    EXPECT_EQ(ParseCommandLine({"--dump", "x"}).dumpPath, "x");
}

}  // namespace
}  // namespace pelorin
