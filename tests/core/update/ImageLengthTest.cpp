// The image length that places the update program's archive: the furthest section or symbol
// table counts, appended bytes do not, and damaged or foreign files are refused with a reason;
// a certificate table at the end of the file closes the appended data.
#include <gtest/gtest.h>

#include "tests/core/update/TestImage.h"
#include "update/ImageLength.h"

namespace pelorin {
namespace {

using test::MakeTestImage;
using test::TestImageLayout;

std::uint64_t LengthOf(const std::vector<std::uint8_t>& bytes) { return ImageLength(bytes.data(), bytes.size()); }

TEST(ImageLengthTest, EndsWhereTheFurthestSectionEnds) {
    // Listed out of order, with an uninitialised-data section that occupies no file room.
    TestImageLayout layout;
    layout.sections = {{0x1400, 0x600}, {0x400, 0x1000}, {0, 0}};
    std::vector<std::uint8_t> image = MakeTestImage(layout);
    EXPECT_EQ(LengthOf(image), 0x1A00u);

    // Whatever is appended stays out of the image.
    image.insert(image.end(), 5000, 0x50);
    EXPECT_EQ(LengthOf(image), 0x1A00u);
}

TEST(ImageLengthTest, KeptSymbolsBelongToTheImage) {
    TestImageLayout layout;
    layout.sections = {{0x400, 0x200}};
    layout.symbolTable = 0x600;
    layout.symbolCount = 10;
    layout.stringTableSize = 100;
    EXPECT_EQ(LengthOf(MakeTestImage(layout)), 0x600u + 180 + 100);
}

TEST(ImageLengthTest, RefusesFilesThatAreNoProgramOrAreDamaged) {
    const std::vector<std::uint8_t> text(200, 'A');
    EXPECT_THROW(LengthOf(text), EBadImage);

    TestImageLayout layout;
    layout.sections = {{0x400, 0x200}};
    std::vector<std::uint8_t> cut = MakeTestImage(layout);
    cut.resize(0x500);  // the section's data end past the file
    EXPECT_THROW(LengthOf(cut), EBadImage);

    std::vector<std::uint8_t> badSignature = MakeTestImage(layout);
    badSignature[0x81] = 'X';
    EXPECT_THROW(LengthOf(badSignature), EBadImage);

    std::vector<std::uint8_t> farHeader = MakeTestImage(layout);
    farHeader[0x3C] = 0xFF;
    farHeader[0x3F] = 0x7F;  // the header offset points far beyond the file
    EXPECT_THROW(LengthOf(farHeader), EBadImage);
}

// A program with appended data: image (0x600 bytes), data, then (table > 0) a certificate table
// that ends the file and that the security entry names.
std::vector<std::uint8_t> SignedImage(TestImageLayout layout, std::uint32_t data, std::uint32_t table) {
    layout.sections = {{0x400, 0x200}};
    if (table != 0) {
        layout.certificateOffset = 0x600 + data;
        layout.certificateSize = table;
    }
    std::vector<std::uint8_t> image = MakeTestImage(layout);
    image.insert(image.end(), data, 'Z');
    image.insert(image.end(), table, 'C');
    return image;
}

TEST(AppendedDataTest, ACertificateTableEndingTheFileClosesTheAppendedData) {
    for (const bool pe32 : {false, true}) {
        SCOPED_TRACE(pe32 ? "PE32" : "PE32+");
        TestImageLayout layout;
        layout.pe32 = pe32;
        const std::vector<std::uint8_t> image = SignedImage(layout, 0x100, 0x588);
        const std::optional<SecurityEntry> entry = FindSecurityEntry(image.data(), image.size());
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->at, test::SecurityEntryOffset(layout));
        EXPECT_EQ(entry->tableOffset, 0x700u);
        EXPECT_EQ(entry->tableSize, 0x588u);
        const AppendedRange range = AppendedData(image.data(), image.size());
        EXPECT_EQ(range.start, 0x600u);
        EXPECT_EQ(range.end, 0x700u);
    }
    // Signed with nothing appended: an empty range.
    const std::vector<std::uint8_t> bare = SignedImage(TestImageLayout{}, 0, 0x588);
    const AppendedRange range = AppendedData(bare.data(), bare.size());
    EXPECT_EQ(range.start, range.end);
}

TEST(AppendedDataTest, WithoutATableThatEndsTheFileTheDataRunToTheEnd) {
    const auto rangeOf = [](const std::vector<std::uint8_t>& image) {
        const AppendedRange range = AppendedData(image.data(), image.size());
        return std::make_pair(range.start, range.end);
    };
    // Unsigned.
    std::vector<std::uint8_t> image = SignedImage(TestImageLayout{}, 0x100, 0);
    EXPECT_EQ(rangeOf(image), std::make_pair(std::uint64_t{0x600}, std::uint64_t{0x700}));
    // Data appended after signing: the table is part of what was appended.
    image = SignedImage(TestImageLayout{}, 0x100, 0x40);
    image.insert(image.end(), 0x10, 'Z');
    EXPECT_EQ(rangeOf(image), std::make_pair(std::uint64_t{0x600}, std::uint64_t{0x750}));
    // An entry pointing into the image, or past the end of the file.
    TestImageLayout inside;
    inside.certificateOffset = 0x500;
    inside.certificateSize = 0x200;
    image = SignedImage(inside, 0x100, 0);
    EXPECT_EQ(rangeOf(image), std::make_pair(std::uint64_t{0x600}, std::uint64_t{0x700}));
    image = SignedImage(TestImageLayout{}, 0x100, 0x40);
    image.resize(image.size() - 1);
    EXPECT_EQ(rangeOf(image).second, image.size());
    // A data directory too short to hold the security entry.
    TestImageLayout shortDirectory;
    shortDirectory.directoryEntries = 4;
    image = SignedImage(shortDirectory, 0x100, 0x40);
    EXPECT_FALSE(FindSecurityEntry(image.data(), image.size()).has_value());
    EXPECT_EQ(rangeOf(image).second, image.size());
}

}  // namespace
}  // namespace pelorin
