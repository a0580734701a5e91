// The packer with a signing command: the signed update program verifies, its archive is found
// right in front of the certificate table, and it equals a program signed after packing; a
// signer that fails or puts anything between archive and table leaves no output.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/core/pelorin-build/SigningKit.h"
#include "tests/core/unzip/ZipBuilder.h"
#include "tests/core/update/TestImage.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-pack/Packer.h"
#include "update/ImageLength.h"

namespace pelorin {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

#ifdef PELORIN_VERSIONED_x86_64
const char* const kSignable = PELORIN_VERSIONED_x86_64;
#else
const char* const kSignable = nullptr;
#endif

class PackSigningTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir_ / "good.zip",
                   test::ZipBuilder().Add("Delphi 2/KZarnix.dcu", "units").Add("Tzxpro.hlp", "help text").Build());
    }

    testing::ScratchDir dir_;
};

TEST_F(PackSigningTest, ASignerThatFailsOrPadsBeforeItsTableLeavesNoOutput) {
    test::TestImageLayout layout;
    layout.sections = {{0x400, 0x800}};
    WriteBytes(dir_ / "update.exe", test::MakeTestImage(layout));
    WriteBytes(dir_ / "kept.exe", {1, 2, 3});
    const struct {
        const char* command;
        std::string problem;
    } cases[] = {
        {testing::kFailingSigner,
         "kept.exe: the signing command \"" + std::string(testing::kFailingSigner) + "\" ended with exit status 3"},
        {testing::kSilentSigner,
         "kept.exe: the signing command \"" + std::string(testing::kSilentSigner) + "\" wrote no signed file (%2)"},
        {testing::kTrailingSigner,
         dir_ / "kept.exe" + ": the signed program does not end with its certificate table right behind the archive, "
                             "so the update program would not find the archive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        try {
            Pack(dir_ / "update.exe", dir_ / "good.zip", dir_ / "kept.exe", SignCommand(c.command));
            ADD_FAILURE() << "packed";
        } catch (const EPackError& error) {
            EXPECT_EQ(error.what(), c.problem);
        }
        EXPECT_EQ(ReadBytes(dir_ / "kept.exe"), (std::vector<std::uint8_t>{1, 2, 3}));
        EXPECT_FALSE(testing::FileExists(dir_ / ".kept.exe.partial"));
    }
}

TEST_F(PackSigningTest, TheSignedProgramVerifiesFindsItsArchiveAndEqualsOneSignedAfterPacking) {
    const std::string unavailable = testing::TestSigner::Unavailable(kSignable);
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    const testing::TestSigner signer;
    ASSERT_TRUE(signer.Ready());
    const std::string program = std::filesystem::absolute(kSignable).string();
    const SignCommand sign(signer.Command());

    const PackResult result = Pack(program, dir_ / "good.zip", dir_ / "signed.exe", sign);
    EXPECT_TRUE(signer.Verify(dir_ / "signed.exe"));
    const std::vector<std::uint8_t> packed = ReadBytes(dir_ / "signed.exe");
    const std::vector<std::uint8_t> zip = ReadBytes(dir_ / "good.zip");
    const std::uint64_t archiveEnd = result.imageLength + zip.size() + result.paddingBytes;
    EXPECT_EQ(archiveEnd % 8, 0u);
    EXPECT_EQ(packed.size(), archiveEnd + result.signatureBytes);
    const AppendedRange range = AppendedData(packed.data(), packed.size());
    EXPECT_EQ(range.start, result.imageLength);
    EXPECT_EQ(range.end, archiveEnd);
    EXPECT_EQ(CheckArchive({packed.begin() + static_cast<std::ptrdiff_t>(range.start),
                            packed.begin() + static_cast<std::ptrdiff_t>(range.end)})
                  .entries,
              2);

    // Packed without signing and signed afterwards: the same file.
    Pack(program, dir_ / "good.zip", dir_ / "plain.exe");
    ASSERT_TRUE(signer.Sign(dir_ / "plain.exe", dir_ / "later.exe"));
    EXPECT_EQ(ReadBytes(dir_ / "later.exe"), packed);

    // Packing the signed program again, in place: its table goes with its archive.
    WriteBytes(dir_ / "other.zip", test::ZipBuilder().Add("Tools/SfxBuild.dpr", "program SfxBuild;").Build());
    const PackResult again = Pack(dir_ / "signed.exe", dir_ / "other.zip", dir_ / "signed.exe", sign);
    EXPECT_TRUE(again.signatureCleared);
    EXPECT_EQ(again.replacedBytes, packed.size() - result.imageLength);
    EXPECT_TRUE(signer.Verify(dir_ / "signed.exe"));

    // The check of the check: one byte changed in the archive fails verification.
    std::vector<std::uint8_t> flipped = packed;
    flipped[static_cast<std::size_t>(range.start) + 10] ^= 0x01;
    WriteBytes(dir_ / "flipped.exe", flipped);
    EXPECT_FALSE(signer.Verify(dir_ / "flipped.exe"));
}

}  // namespace
}  // namespace pelorin
