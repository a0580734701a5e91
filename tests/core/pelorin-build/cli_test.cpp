// The tool as a program: exit statuses, where it finds the setup program, and the
// dump of a finished distribution (native only: it starts the built binary).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/Distribution.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

TEST(SetupProgramSearch, BesideTheToolFirstThenTheSiblingWin64Tree) {
    ScratchDir root;
    const std::string tool = root / "native/bin/pelorin-build";
    testing::WriteText(tool, "");
    EXPECT_EQ(FindSetupProgram(tool), "");
    testing::WriteText(root / "win64/bin/pelorin.exe", "64");
    EXPECT_EQ(std::filesystem::path(FindSetupProgram(tool)),
              std::filesystem::path(root / "win64/bin/pelorin.exe").lexically_normal());
    testing::WriteText(root / "native/bin/pelorin.exe", "beside");
    EXPECT_EQ(std::filesystem::path(FindSetupProgram(tool)),
              std::filesystem::path(root / "native/bin/pelorin.exe").lexically_normal());
    EXPECT_EQ(FindSetupProgram(""), "");
}

#ifndef _WIN32
// Runs the built tool through the shell; returns its exit status and output.
int runTool(const std::string& args, const ScratchDir& dir, std::string& output) {
    const char* binary = std::getenv("PELORIN_BINARY_DIR");
    const std::string log = dir / "tool.log";
    const std::string command =
        std::string(binary ? binary : ".") + "/bin/pelorin-build " + args + " > '" + log + "' 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    output = text.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ToolProgram, ExitStatusAndMessagesOfBuildAndDump) {
    if (std::getenv("PELORIN_BINARY_DIR") == nullptr) GTEST_SKIP() << "PELORIN_BINARY_DIR is not set";
    ScratchDir dir;
    std::string output;
    testing::WriteText(dir / "ok.pelproj", "[Setup]\nAppName=Cli\nAppVerName=Cli 1\nDefaultDirName=Cli\n");
    testing::WriteText(dir / "bad.pelproj", "[Setup]\nAppName=Cli\nAppVerName=Cli 1\nDefaultDirName=Cli\nColour=red\n");

    EXPECT_EQ(runTool("'" + (dir / "bad.pelproj") + "' -o '" + (dir / "bad") + "' --no-setup-exe", dir, output), 1);
    EXPECT_NE(output.find("bad.pelproj:5: Colour: unknown key in [Setup]"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(dir / "bad"));

    EXPECT_EQ(runTool("'" + (dir / "ok.pelproj") + "'", dir, output), 2);  // no -o
    EXPECT_NE(output.find("usage:"), std::string::npos);

    ASSERT_EQ(
        runTool("'" + (dir / "ok.pelproj") + "' -o '" + (dir / "ok") + "' --no-setup-exe --machine i386", dir, output),
        0)
        << output;
    EXPECT_EQ(runTool("--dump '" + (dir / "ok/PELORIN.DLL") + "'", dir, output), 0);
    EXPECT_NE(output.find("AppVerName           = \"Cli 1\""), std::string::npos) << output;

    EXPECT_EQ(runTool("--dump '" + (dir / "ok.pelproj") + "'", dir, output), 1);  // not a description
    EXPECT_NE(output.find("The Setup Wizard files are corrupted, or are incompatible"), std::string::npos) << output;

    // A signing command without %1 is misuse; one that fails ends the build with status 1.
    const std::string build = "'" + (dir / "ok.pelproj") + "' -o '" + (dir / "signed") + "' --no-setup-exe ";
    EXPECT_EQ(runTool(build + "--sign 'sign-it'", dir, output), 2);
    EXPECT_NE(output.find("must name the file to sign as %1"), std::string::npos) << output;
    EXPECT_EQ(runTool(build + "--sign 'exit 5; %1 %2'", dir, output), 1);
    EXPECT_NE(output.find("pelorin-build: PELORIN.DLL: the signing command \"exit 5; %1 %2\" ended with exit status 5"),
              std::string::npos)
        << output;
    EXPECT_FALSE(std::filesystem::exists(dir / "signed"));
}
TEST(ToolProgram, ListVerifyAndExtractOfABuiltPackage) {
    if (std::getenv("PELORIN_BINARY_DIR") == nullptr) GTEST_SKIP() << "PELORIN_BINARY_DIR is not set";
    ScratchDir dir;
    std::string output;
    testing::WriteText(dir / "a.txt", "alpha\n");
    testing::WriteText(dir / "p.pelproj",
                       "[Setup]\nAppName=Cli\nAppVerName=Cli 1\nDefaultDirName=Cli\n"
                       "[File]\nSource=a.txt\nDestName={app}\\sub\\a.txt\nFlags=shared\n");
    const std::string dist = "'" + (dir / "dist") + "'";
    // With the setup program of the win64 tree when it is built, so that its manifest is checked too.
    const std::string setupExe =
        FindSetupProgram(std::string(std::getenv("PELORIN_BINARY_DIR")) + "/bin/pelorin-build");
    const std::string exeOption = setupExe.empty() ? "--no-setup-exe" : "--setup-exe '" + setupExe + "'";
    ASSERT_EQ(runTool("'" + (dir / "p.pelproj") + "' -o " + dist + " " + exeOption, dir, output), 0) << output;

    EXPECT_EQ(runTool("--list " + dist, dir, output), 0);
    EXPECT_NE(output.find("Compressed"), std::string::npos) << output;
    EXPECT_NE(output.find("shared  {app}\\sub\\a.txt\n"), std::string::npos) << output;
    EXPECT_NE(output.find("1 file\n"), std::string::npos) << output;
    EXPECT_EQ(runTool("--list " + dist + " --format=tsv", dir, output), 0);
    EXPECT_EQ(output.rfind("index\tdestination\t", 0), 0u) << output;
    EXPECT_NE(output.find("\n1\t{app}\\sub\\a.txt\t0\t"), std::string::npos) << output;
    EXPECT_EQ(runTool("--verify " + dist + " --format=tsv", dir, output), 2);  // --format goes with --list
    EXPECT_EQ(runTool("--list '" + (dir / "nothing") + "'", dir, output), 1);
    EXPECT_NE(output.find("not a distribution folder"), std::string::npos) << output;

    EXPECT_EQ(runTool("--verify " + dist, dir, output), 0) << output;
    EXPECT_NE(output.find(": intact, 1 file entries, 6 bytes"), std::string::npos) << output;
    EXPECT_EQ(runTool("--extract " + dist + " '" + (dir / "out") + "'", dir, output), 0) << output;
    EXPECT_EQ(testing::ReadText(dir / "out/app/sub/a.txt"), "alpha\n");

    std::vector<std::uint8_t> dat = testing::ReadBytes(dir / "dist/PELORIN.DAT");
    dat.resize(dat.size() - 1);
    testing::WriteBytes(dir / "dist/PELORIN.DAT", dat);
    EXPECT_EQ(runTool("--verify " + dist, dir, output), 1);
    EXPECT_NE(output.find("file 1 {app}\\sub\\a.txt: its data (bytes 0 to "), std::string::npos) << output;
    EXPECT_EQ(runTool("--extract " + dist + " '" + (dir / "out2") + "'", dir, output), 1);
    EXPECT_NE(output.find("runs past the end of PELORIN.DAT"), std::string::npos) << output;
    EXPECT_FALSE(testing::FileExists(dir / "out2/app/sub/a.txt"));
}
#endif

}  // namespace
}  // namespace pelorin
