// The packer against made archives: the archive lands right behind the image and reads back
// from there, padded to end the program at a multiple of 8 bytes; a second packing replaces
// the first, a signature of the input is dropped, and refused inputs leave no output behind.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tests/core/pelorin-build/SigningKit.h"
#include "tests/core/unzip/TestSupport.h"
#include "tests/support/SmallDrive.h"
#include "tests/core/unzip/ZipBuilder.h"
#include "tests/core/update/TestImage.h"
#include "tools/pelorin-pack/Packer.h"
#include "update/ImageLength.h"

namespace pelorin {
namespace {

using testing::JoinPath;
using testing::ReadBytes;
using testing::WriteBytes;

class PackerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestImageLayout layout;
        layout.sections = {{0x400, 0x800}, {0xC00, 0x200}};
        program_ = test::MakeTestImage(layout);
        WriteBytes(Path("update.exe"), program_);
        WriteBytes(Path("good.zip"), test::ZipBuilder()
                                         .Add("Delphi 2/", "")
                                         .Add("Delphi 2/KZarnix.dcu", "units")
                                         .Add("Tzxpro.hlp", "help text")
                                         .Build());
    }

    std::string Path(const std::string& name) const { return JoinPath(dir_.Path(), name); }

    // The message of the refusal; the output and its temporary file must not exist.
    std::string Refusal(const std::string& archive, const std::string& output) {
        try {
            Pack(Path("update.exe"), archive, output);
        } catch (const EPackError& error) {
            for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
                EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
            }
            return error.what();
        }
        ADD_FAILURE() << "packed " << archive;
        return {};
    }

    testing::ScratchDir dir_;
    std::vector<std::uint8_t> program_;
};

TEST_F(PackerTest, AppendsTheArchiveBehindTheImageAndReplacesItOnRepacking) {
    const PackResult first = Pack(Path("update.exe"), Path("good.zip"), Path("out.exe"));
    EXPECT_EQ(first.imageLength, 0xE00u);
    EXPECT_EQ(first.replacedBytes, 0u);
    EXPECT_EQ(first.archive.entries, 3);
    EXPECT_EQ(first.archive.uncompressedBytes, 14);
    EXPECT_FALSE(first.signatureCleared);

    const std::vector<std::uint8_t> packed = ReadBytes(Path("out.exe"));
    const std::vector<std::uint8_t> zip = ReadBytes(Path("good.zip"));
    ASSERT_EQ(packed.size(), 0xE00u + zip.size() + first.paddingBytes);
    EXPECT_EQ(ImageLength(packed.data(), packed.size()), 0xE00u);
    // The archive as it was up to its comment's length, which the padding lengthened (see below).
    EXPECT_TRUE(std::equal(zip.begin(), zip.end() - 2, packed.begin() + 0xE00));

    // Packing the packed program again, in place, with another archive: no second archive stacks up.
    WriteBytes(Path("other.zip"), test::ZipBuilder().Add("Tools/SfxBuild.dpr", "program SfxBuild;").Build());
    const PackResult second = Pack(Path("out.exe"), Path("other.zip"), Path("out.exe"));
    EXPECT_EQ(second.replacedBytes, zip.size() + first.paddingBytes);
    const std::vector<std::uint8_t> repacked = ReadBytes(Path("out.exe"));
    EXPECT_EQ(repacked.size(), 0xE00u + ReadBytes(Path("other.zip")).size() + second.paddingBytes);
    EXPECT_TRUE(std::equal(program_.begin(), program_.end(), repacked.begin()));
}

TEST_F(PackerTest, RefusesArchivesThatDoNotReadOrTestCleanNamingFileAndProblem) {
    // The check decodes in memory: it needs no temporary folder, and none can be made below a file.
    const testing::TempFolderOverride nowhere(Path("good.zip") + "/temp");
    std::vector<std::uint8_t> zip = ReadBytes(Path("good.zip"));
    EXPECT_EQ(CheckArchive(zip).entries, 3);
    WriteBytes(Path("cut.zip"), std::vector<std::uint8_t>(zip.begin(), zip.end() - 10));
    EXPECT_EQ(Refusal(Path("cut.zip"), Path("out.exe")), Path("cut.zip") + ": Incomplete Zip File");

    test::BuiltEntry bad;
    bad.name = "Delphi 3/KZarnix.dcu";
    bad.data = test::Bytes("units");
    bad.badCrc = true;
    WriteBytes(Path("crc.zip"), test::ZipBuilder().Add("Tzxpro.hlp", "help").Add(bad).Build());
    EXPECT_EQ(Refusal(Path("crc.zip"), Path("out.exe")), Path("crc.zip") + ": Delphi 3\\KZarnix.dcu: bad CRC");

    test::BuiltEntry locked;
    locked.name = "Tzxpro.hlp";
    locked.data = test::Bytes("0123456789ABhelp");
    locked.flags = 1;
    WriteBytes(Path("locked.zip"), test::ZipBuilder().Add(locked).Build());
    EXPECT_NE(Refusal(Path("locked.zip"), Path("out.exe")).find("Tzxpro.hlp: encrypted"), std::string::npos);

    // A central directory that must be rebuilt by scanning is damage, even though it reads.
    test::ZipBuilder builder;
    builder.Add("Tzxpro.hlp", "help");
    std::vector<std::uint8_t> moved = builder.Build();
    moved[moved.size() - 6] ^= 0x40;  // the central directory's offset in the end record
    WriteBytes(Path("moved.zip"), moved);
    EXPECT_EQ(Refusal(Path("moved.zip"), Path("out.exe")), Path("moved.zip") + ": its central directory is damaged");

    // An earlier output stays as it was.
    WriteBytes(Path("kept.exe"), {1, 2, 3});
    Refusal(Path("cut.zip"), Path("kept.exe"));
    EXPECT_EQ(ReadBytes(Path("kept.exe")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(Refusal(Path("missing.zip"), Path("out.exe")), Path("missing.zip") + ": cannot be opened");
    EXPECT_FALSE(testing::FileExists(Path("out.exe")));
}

// Names that would place a file anywhere but below the product's folder: the message names the
// entry as the directory holds it.
TEST_F(PackerTest, RefusesNamesThatLeaveTheFolderNameADriveOrStartAtTheRoot) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"../../evil.txt", "..\\..\\evil.txt: the name leads out of the destination folder"},
        {"Tools/../../evil.txt", "Tools\\..\\..\\evil.txt: the name leads out of the destination folder"},
        {"Tools/..", "Tools\\..: the name leads out of the destination folder"},
        {"C:\\evil.txt", "C:\\evil.txt: a drive name"},
        {"C:evil", "C:evil: a drive name"},
        {"\\evil.txt", "\\evil.txt: an absolute name"},
        {"/evil.txt", "\\evil.txt: an absolute name"},
        {"Delphi 3/C:evil-13.txt", "Delphi 3\\C:evil-13.txt: a colon in the name"},
    };
    for (const auto& [name, problem] : cases) {
        WriteBytes(Path("names.zip"), test::ZipBuilder().Add("Tzxpro.hlp", "help").Add(name, "evil").Build());
        EXPECT_EQ(Refusal(Path("names.zip"), Path("out.exe")), Path("names.zip") + ": " + problem) << name;
    }
    // Dots inside a name are no way out.
    WriteBytes(Path("dots.zip"), test::ZipBuilder().Add("Tools/..notes.txt", "fine").Add("Tools/a..b", "x").Build());
    Pack(Path("update.exe"), Path("dots.zip"), Path("out.exe"));
    EXPECT_TRUE(testing::FileExists(Path("out.exe")));
}

TEST_F(PackerTest, PadsTheArchiveCommentSoThatTheProgramEndsAtAMultipleOfEight) {
    // Eight comment lengths need every padding from 0 to 7.
    for (std::size_t commentLength = 0; commentLength < 8; ++commentLength) {
        SCOPED_TRACE(commentLength);
        const std::vector<std::uint8_t> zip =
            test::ZipBuilder().Add("Tzxpro.hlp", "help").Comment(std::string(commentLength, 'c')).Build();
        WriteBytes(Path("c.zip"), zip);
        const PackResult result = Pack(Path("update.exe"), Path("c.zip"), Path("out.exe"));
        const std::vector<std::uint8_t> packed = ReadBytes(Path("out.exe"));
        EXPECT_EQ(packed.size() % 8, 0u);
        ASSERT_EQ(packed.size(), 0xE00u + zip.size() + result.paddingBytes);
        // The same archive with a comment longer by NUL bytes, which still reads as a whole.
        std::vector<std::uint8_t> expected = zip;
        expected[zip.size() - commentLength - 2] = static_cast<std::uint8_t>(commentLength + result.paddingBytes);
        expected.insert(expected.end(), result.paddingBytes, 0);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), packed.begin() + 0xE00));
        EXPECT_EQ(CheckArchive(expected).entries, 1);
    }

    // A comment that cannot grow any further refuses the archive; bytes without an end record
    // are left for the check to refuse.
    std::vector<std::uint8_t> full =
        test::ZipBuilder().Add("Tzxpro.hlp", "help").Comment(std::string(0xFFFF, 'c')).Build();
    const std::size_t fullSize = full.size();
    EXPECT_THROW(PadArchive(full, 9 - fullSize % 8), EPackError);  // would need 7 bytes
    EXPECT_EQ(full.size(), fullSize);
    std::vector<std::uint8_t> text(100, 'x');
    EXPECT_EQ(PadArchive(text, 3), 0u);
    EXPECT_EQ(text.size(), 100u);
}

TEST_F(PackerTest, ASignedProgramLosesItsCertificateTableAndTheEntryThatNamesIt) {
    const std::vector<std::uint8_t> old = test::ZipBuilder().Add("Tools/old.txt", "old").Build();
    test::TestImageLayout layout;
    layout.sections = {{0x400, 0x800}, {0xC00, 0x200}};
    layout.certificateOffset = static_cast<std::uint32_t>(0xE00 + old.size());
    layout.certificateSize = 0x90;
    std::vector<std::uint8_t> signedProgram = test::MakeTestImage(layout);
    signedProgram.insert(signedProgram.end(), old.begin(), old.end());
    signedProgram.insert(signedProgram.end(), 0x90, 0x30);
    WriteBytes(Path("signed.exe"), signedProgram);

    const PackResult result = Pack(Path("signed.exe"), Path("good.zip"), Path("out.exe"));
    EXPECT_TRUE(result.signatureCleared);
    EXPECT_EQ(result.replacedBytes, old.size() + 0x90);
    const std::vector<std::uint8_t> packed = ReadBytes(Path("out.exe"));
    // The image is the program's own but for the security entry, now empty.
    std::vector<std::uint8_t> image(signedProgram.begin(), signedProgram.begin() + 0xE00);
    std::fill_n(image.begin() + test::SecurityEntryOffset(layout), 8, 0);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), packed.begin()));
    const AppendedRange range = AppendedData(packed.data(), packed.size());
    EXPECT_EQ(range.start, 0xE00u);
    EXPECT_EQ(range.end, packed.size());
}

// A real small drive: the full disk is named, and neither the program nor its temporary file stays.
TEST_F(PackerTest, AFullDriveIsNamedAndLeavesNothing) {
    const testing::SmallDrive drive(64 * 1024);
    if (!drive.Mounted()) GTEST_SKIP() << "cannot mount a small drive here (it needs root)";
    std::string noise(200000, '\0');
    std::uint32_t state = 12345;
    for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 23);
    WriteBytes(Path("big.zip"), test::ZipBuilder().Add("big.bin", noise).Build());
    const std::string output = drive / "out.exe";
    EXPECT_EQ(Refusal(Path("big.zip"), output), output + ": cannot be written: " + std::strerror(ENOSPC));
    EXPECT_TRUE(std::filesystem::is_empty(drive.Path()));
}

TEST_F(PackerTest, RefusesAProgramThatIsNoWindowsImage) {
    WriteBytes(Path("update.exe"), test::Bytes("#!/bin/sh\necho not a program\n"));
    EXPECT_EQ(Refusal(Path("good.zip"), Path("out.exe")), Path("update.exe") + ": The file is not a Windows program");
}

}  // namespace
}  // namespace pelorin
