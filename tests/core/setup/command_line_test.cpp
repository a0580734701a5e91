// The setup program's switches as deployment tools write them, and the run log's lines: what
// a tool relies on when it starts the program and reads the log afterwards.
#include <gtest/gtest.h>

#include "core/RunLog.h"
#include "setup/CommandLine.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"

namespace pelorin {
namespace {

TEST(SetupSwitches, ModesFoldersLogAndRestartInAnySpelling) {
    const SetupOptions options = ParseSetupCommandLine(
        R"("C:\Dist\pelorin.exe" /verysilent -DIR="C:\Program Files\My App\" /Group=Tools "/LOG=C:\Logs\set up.txt" -NoRestart)");
    EXPECT_EQ(options.Mode, RunMode::VerySilent);
    EXPECT_EQ(options.Dir, std::optional<std::string>(R"(C:\Program Files\My App\)"));
    EXPECT_EQ(options.Group, std::optional<std::string>("Tools"));
    EXPECT_EQ(options.LogPath, R"(C:\Logs\set up.txt)");
    EXPECT_TRUE(options.NoRestart);
    EXPECT_TRUE(options.Invalid.empty());

    EXPECT_EQ(ParseSetupCommandLine("setup.exe /SILENT").Mode, RunMode::Silent);
    EXPECT_TRUE(ParseSetupCommandLine("setup.exe /?").Help);
    EXPECT_TRUE(ParseSetupCommandLine("setup.exe -help").Help);
    const SetupOptions none = ParseSetupCommandLine(R"("C:\My Dist\pelorin.exe")");
    EXPECT_EQ(none.Mode, RunMode::Interactive);
    EXPECT_FALSE(none.Dir || none.Group || none.NoRestart || none.Help);
    EXPECT_TRUE(none.Invalid.empty() && none.LogPath.empty());
}

TEST(SetupSwitches, TheFirstArgumentNotUnderstoodIsKeptAndTheRestStillRead) {
    // A refused run still needs its mode (no box when silent) and its log.
    const SetupOptions options = ParseSetupCommandLine(R"(setup.exe /BOGUS /LOG=C:\l.txt /VERYSILENT /OTHER)");
    EXPECT_EQ(options.Invalid, "/BOGUS");
    EXPECT_EQ(options.Mode, RunMode::VerySilent);
    EXPECT_EQ(options.LogPath, R"(C:\l.txt)");

    for (const char* line : {"setup.exe /DIR=", "setup.exe /DIR", "setup.exe /SILENT=yes", "setup.exe C:\\App",
                             "setup.exe /LOG", "setup.exe -", "setup.exe /GROUP="})
        EXPECT_FALSE(ParseSetupCommandLine(line).Invalid.empty()) << line;
}

TEST(RunLog, LinesAreStampedOnDiskAtOnceAndMessagesContinueIndented) {
    const testing::ScratchDir dir;
    const std::string path = dir / "run.log";
    TRunLog log;
    log.Line("before opening: dropped");
    ASSERT_TRUE(log.Open(path));
    log.Line("first");
    log.Line("question \"Confirm\": line one\r\n\r\nline two\r\n-> Yes (user)");
    // Read while the log is still open: a killed run keeps what was written.
    const std::string text = testing::ReadText(path);
    const std::string stamp = "2026-01-01 00:00:00.000  ";
    ASSERT_GT(text.size(), stamp.size());
    EXPECT_EQ(text.find("dropped"), std::string::npos);
    EXPECT_EQ(text.substr(stamp.size(), 7), "first\r\n");
    const std::string indent(stamp.size(), ' ');
    EXPECT_NE(text.find("line one\r\n" + indent + "line two\r\n" + indent + "-> Yes (user)\r\n"), std::string::npos)
        << text;
    EXPECT_FALSE(TRunLog().Open(testing::JoinPath(dir / "no such folder", "run.log")));
}

}  // namespace
}  // namespace pelorin
