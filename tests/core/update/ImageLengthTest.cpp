// The image length that places the update program's archive: the furthest section or symbol
// table counts, appended bytes do not, and damaged or foreign files are refused with a reason.
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

}  // namespace
}  // namespace pelorin
