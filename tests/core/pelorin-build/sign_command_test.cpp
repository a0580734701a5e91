// The signing command as the tools run it: %1 and %2 become quoted paths of a private copy,
// the signed result lands in the output, and every failure names command and file and
// leaves the output and the temporary folder as they were.
#include <gtest/gtest.h>

#include "tests/core/pelorin-build/SigningKit.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/signing/SignCommand.h"

namespace pelorin {
namespace {

using testing::ReadText;
using testing::ScratchDir;
using testing::WriteText;

#ifdef _WIN32
const char* const kLineEnd = "\r\n";
#else
const char* const kLineEnd = "\n";
#endif

TEST(SignCommandTest, TheUnsignedFileMustBeNamedAndWithoutATargetItIsSignedInPlace) {
    EXPECT_THROW(SignCommand("osslsigncode sign -out %2"), Exception);
    EXPECT_THROW(SignCommand(""), Exception);
    EXPECT_TRUE(SignCommand("sign-in-place %1").InPlace());
    EXPECT_FALSE(SignCommand("sign -in %1 -out %2").InPlace());
    // Only %1 and %2 are placeholders; other percent signs reach the shell as written.
    EXPECT_EQ(SignCommand("s %1 %3 %%2 -o %2").CommandLine("a", "b"),
              "s " + QuoteForShell("a") + " %3 %" + QuoteForShell("b") + " -o " + QuoteForShell("b"));
}

TEST(SignCommandTest, SignsAPrivateCopyUnderItsNameAndWritesTheResult) {
    ScratchDir dir;
    ScratchDir temp;
    const testing::TempFolderOverride tempFolder(temp.Path());
    WriteText(dir / "in.exe", "MZ program");

    // A name with a blank and a quote reaches the command as one argument.
    SignCommand(testing::kCopyingSigner).Sign(dir / "in.exe", dir / "out.exe", "it's signed.exe");
    EXPECT_EQ(ReadText(dir / "out.exe"), "MZ program");

    SignCommand(testing::kAppendingSigner).Sign(dir / "in.exe", dir / "in.exe", "in.exe");
    EXPECT_EQ(ReadText(dir / "in.exe"), std::string("MZ programsigned") + kLineEnd);
    EXPECT_TRUE(testing::ListFolder(temp.Path()).empty());
}

TEST(SignCommandTest, FailuresNameCommandAndFileAndLeaveNothingBehind) {
    ScratchDir dir;
    ScratchDir temp;
    const testing::TempFolderOverride tempFolder(temp.Path());
    WriteText(dir / "in.exe", "MZ program");
    WriteText(dir / "out.exe", "earlier");
    const struct {
        const char* command;
        const char* problem;
    } cases[] = {
        {testing::kFailingSigner, "ended with exit status 3"},
        {testing::kSilentSigner, "wrote no signed file (%2)"},
        {testing::kEmptySigner, "wrote an empty signed file (%2)"},
        {testing::kRemovingSigner, "removed the file it was to sign (%1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        try {
            SignCommand(c.command).Sign(dir / "in.exe", dir / "out.exe", "setup.exe");
            ADD_FAILURE() << "signing succeeded";
        } catch (const ESignError& error) {
            EXPECT_EQ(error.what(), "setup.exe: the signing command \"" + std::string(c.command) + "\" " + c.problem);
        }
        EXPECT_EQ(ReadText(dir / "out.exe"), "earlier");
        EXPECT_EQ(ReadText(dir / "in.exe"), "MZ program");
        EXPECT_TRUE(testing::ListFolder(temp.Path()).empty());
    }
}

}  // namespace
}  // namespace pelorin
