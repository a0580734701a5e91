// pelorin-unzip.exe under Wine: -p's bytes reach a pipe unchanged, with no line ends rewritten
// and nothing else in the stream, and -t passes where no temporary folder can be made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/unzip/ZipBuilder.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"

namespace pelorin {
namespace {

TEST(UnzipPipe, BytesReachThePipeUnchanged) {
    std::string binary;
    for (int i = 0; i < 70000; ++i) binary += static_cast<char>((i * 7) & 0xFF);
    const std::string text("one\ntwo\r\nthree\x1a\0four\n", 21);
    const testing::ScratchDir folder("pelorin-unzip-pipe");
    const std::string archive = folder / "pipe.zip";
    testing::WriteBytes(archive, test::ZipBuilder().Add("text.txt", text).Add("dir/binary.bin", binary).Build());

    const e2e::ToolResult all = e2e::RunTool(e2e::Quote(e2e::ProgramPath("pelorin-unzip.exe")) + " -p " + archive);
    EXPECT_EQ(all.exitCode, 0u);
    EXPECT_TRUE(all.output == text + binary) << all.output.size() << " bytes";

    const e2e::ToolResult some =
        e2e::RunTool(e2e::Quote(e2e::ProgramPath("pelorin-unzip.exe")) + " -p " + archive + " * -x dir/*");
    EXPECT_EQ(some.exitCode, 0u);
    EXPECT_EQ(some.output, text);
}

TEST(UnzipTesting, NeedsNoTemporaryFolder) {
    const testing::ScratchDir folder("pelorin-unzip-test");
    const std::string archive = folder / "tested.zip";
    testing::WriteBytes(archive, test::ZipBuilder().Add("text.txt", "text\n").Add("dir/more.txt", "more\n").Build());
    // Below a file: no folder can be made there.
    const std::string nowhere = archive + "\\temp";
    const e2e::EnvOverride temp("TEMP", nowhere.c_str());
    const e2e::EnvOverride tmp("TMP", nowhere.c_str());

    const e2e::ToolResult result = e2e::RunTool(e2e::Quote(e2e::ProgramPath("pelorin-unzip.exe")) + " -t " + archive);
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("    testing: dir/more.txt"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("No errors detected in compressed data of"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace pelorin
