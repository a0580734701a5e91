// The packer against made archives: the archive lands right behind the image and reads back
// from there, a second packing replaces the first, and refused inputs leave no output behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/core/unzip/TestSupport.h"
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

    const std::vector<std::uint8_t> packed = ReadBytes(Path("out.exe"));
    const std::vector<std::uint8_t> zip = ReadBytes(Path("good.zip"));
    ASSERT_EQ(packed.size(), 0xE00u + zip.size());
    EXPECT_EQ(ImageLength(packed.data(), packed.size()), 0xE00u);
    EXPECT_TRUE(std::equal(zip.begin(), zip.end(), packed.begin() + 0xE00));

    // Packing the packed program again, in place, with another archive: no second archive stacks up.
    WriteBytes(Path("other.zip"), test::ZipBuilder().Add("Tools/SfxBuild.dpr", "program SfxBuild;").Build());
    const PackResult second = Pack(Path("out.exe"), Path("other.zip"), Path("out.exe"));
    EXPECT_EQ(second.replacedBytes, zip.size());
    const std::vector<std::uint8_t> repacked = ReadBytes(Path("out.exe"));
    EXPECT_EQ(repacked.size(), 0xE00u + ReadBytes(Path("other.zip")).size());
    EXPECT_TRUE(std::equal(program_.begin(), program_.end(), repacked.begin()));
}

TEST_F(PackerTest, RefusesArchivesThatDoNotReadOrTestCleanNamingFileAndProblem) {
    std::vector<std::uint8_t> zip = ReadBytes(Path("good.zip"));
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

TEST_F(PackerTest, RefusesAProgramThatIsNoWindowsImage) {
    WriteBytes(Path("update.exe"), test::Bytes("#!/bin/sh\necho not a program\n"));
    EXPECT_EQ(Refusal(Path("good.zip"), Path("out.exe")), Path("update.exe") + ": The file is not a Windows program");
}

}  // namespace
}  // namespace pelorin
