// Damaged archives: cut short, a garbage central directory, sizes that lie. Each gives a
// clear error or a counted failure, and leaves no partial file behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ZipBuilder.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/UnzipErrors.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {
namespace {

using test::Bytes;
using test::ToolArchive;
using test::ZipBuilder;
using testing::ReadBytes;

void PutLE32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

class Damage : public test::ExtractionRig {
protected:
    void Use(const std::vector<std::uint8_t>& bytes) {
        UseArchive(bytes);
        zip.SetRecreateDirs(true);
        zip.OnBadCRC = [this](TVCLUnZip&, std::uint32_t, std::uint32_t, int) { ++badCrcs; };
    }

    int badCrcs = 0;
};

TEST_F(Damage, TruncatedArchiveIsIncompleteAndItsCutEntryPremature) {
    std::vector<std::uint8_t> bytes = ReadBytes(ToolArchive("deflated.zip"));
    bytes.resize(100000);  // inside sub/deep/noise.bin, the last entry
    Use(bytes);
    EXPECT_THROW(zip.Extract(), EIncompleteZip);

    zip.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
    try {
        zip.Extract();
        FAIL() << "a cut entry was extracted";
    } catch (const EFatalUnzipError& e) {
        EXPECT_STREQ(e.what(), "Premature end of file reached");
    }
    EXPECT_EQ(testing::ReadText(out / "readme.txt"), testing::ReadText(test::SourceFile("readme.txt")));
    EXPECT_EQ(ReadBytes(out / "Tools/numbers.txt"), ReadBytes(test::SourceFile("Tools/numbers.txt")));
    EXPECT_FALSE(testing::FileExists(out / "sub/deep/noise.bin"));
}

TEST_F(Damage, GarbageCentralDirectoryIsRebuiltByScanning) {
    std::vector<std::uint8_t> bytes = ReadBytes(ToolArchive("deflated.zip"));
    const std::size_t end = bytes.size() - 22;
    const std::uint32_t central = bytes[end + 16] | bytes[end + 17] << 8 | bytes[end + 18] << 16 |
                                  static_cast<std::uint32_t>(bytes[end + 19]) << 24;
    for (std::size_t i = central; i < end; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    Use(bytes);
    EXPECT_EQ(zip.Extract(), 10);
    EXPECT_TRUE(zip.DirectoryRebuilt());
    EXPECT_EQ(ReadBytes(out / "sub/deep/noise.bin"), ReadBytes(test::SourceFile("sub/deep/noise.bin")));
}

TEST_F(Damage, CentralHeaderCutShortEndsTheDirectory) {
    ZipBuilder builder;
    std::vector<std::uint8_t> bytes = builder.Add("a.txt", "A").Add("b.txt", "B").Add("c.txt", "C").Build();
    bytes[builder.CentralOffset() + 46 + 5] = 'X';  // the second central header's signature
    Use(bytes);
    zip.ReadDirectory();
    EXPECT_EQ(zip.EntryCount(), 1);
    EXPECT_EQ(zip.Extract(), 1);
}

TEST_F(Damage, UncompressedSizeTooSmallKeepsThePrefixAndFailsTheChecksum) {
    ZipBuilder builder;
    std::vector<std::uint8_t> bytes = builder.Add("long.txt", std::string(40000, 'L')).Add("ok.txt", "ok").Build();
    PutLE32(bytes, builder.CentralOffset() + 24, 100);  // uncompressed size 100 in the central header
    Use(bytes);
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(badCrcs, 1);
    EXPECT_FALSE(testing::FileExists(out / "long.txt"));
    EXPECT_EQ(testing::ReadText(out / "ok.txt"), "ok");
}

TEST_F(Damage, CompressedSizeBeyondTheArchiveIsAPrematureEnd) {
    ZipBuilder builder;
    std::vector<std::uint8_t> bytes = builder.Add("a.txt", "A").Add("z.txt", "last").Build();
    PutLE32(bytes, builder.CentralOffset() + 46 + 5 + 20, 0x7FFFFFF0);
    PutLE32(bytes, builder.CentralOffset() + 46 + 5 + 24, 0x7FFFFFF0);
    Use(bytes);
    EXPECT_THROW(zip.Extract(), EFatalUnzipError);
    EXPECT_EQ(testing::ReadText(out / "a.txt"), "A");
    EXPECT_FALSE(testing::FileExists(out / "z.txt"));
}

TEST_F(Damage, LocalHeaderOffsetBeyondTheArchive) {
    ZipBuilder builder;
    std::vector<std::uint8_t> bytes = builder.Add("a.txt", "A").Build();
    PutLE32(bytes, builder.CentralOffset() + 42, 0x10000000);
    Use(bytes);
    EXPECT_THROW(zip.Extract(), EFatalUnzipError);
}

TEST_F(Damage, EveryTruncationOfASmallArchiveEndsCleanly) {
    const std::vector<std::uint8_t> whole =
        ZipBuilder().Add("dir/a.txt", "alpha").Add("b.txt", "beta").Comment("note").Build();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        TVCLUnZip cut(os);
        cut.SetArchiveStream(std::make_unique<TMemoryStream>(
            std::vector<std::uint8_t>(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size))));
        cut.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
        cut.SetDestDir(out.Path());
        cut.SetDoAll(true);
        try {
            const int result = cut.Extract();
            EXPECT_LE(result, 2) << size;
        } catch (const Exception&) {
            // a clear error is fine
        }
    }
}

}  // namespace
}  // namespace pelorin
