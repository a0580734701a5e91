// The small parts of the zip component: checksum, date repair, percent rounding,
// wildcard patterns and target folders.
#include <gtest/gtest.h>

#include <string>

#include "update/strings/MemoryStream.h"
#include "update/strings/StreamMessages.h"
#include "update/strings/StringsErrors.h"
#include "update/unzip/Crc32.h"
#include "update/unzip/DosDateTime.h"
#include "update/unzip/Percent.h"
#include "update/unzip/TargetPath.h"
#include "update/unzip/Wildcard.h"

namespace pelorin {
namespace {

std::uint32_t Dos(int year, int month, int day, int hour, int minute, int second) {
    const auto date = static_cast<std::uint32_t>(((year - 1980) << 9) | (month << 5) | day);
    const auto time = static_cast<std::uint32_t>((hour << 11) | (minute << 5) | (second / 2));
    return date << 16 | time;
}

TEST(Crc32, MatchesTheCheckValueOfTheStandard) {
    const std::string text = "123456789";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    EXPECT_EQ(~UpdateCrc32(kCrcStart, bytes, text.size()), 0xCBF43926u);
    const std::uint32_t half = UpdateCrc32(kCrcStart, bytes, 4);
    EXPECT_EQ(~UpdateCrc32(half, bytes + 4, 5), 0xCBF43926u);
}

// Every length and alignment against the bit-by-bit definition: the wide steps and the
// byte-wise rest must agree wherever a buffer starts and ends.
TEST(Crc32, AgreesWithTheBitwiseDefinitionAtEveryLengthAndOffset) {
    std::uint8_t data[300];
    for (std::size_t i = 0; i < sizeof data; ++i) data[i] = static_cast<std::uint8_t>(i * 7919u >> 3);
    const auto bitwise = [](std::uint32_t crc, const std::uint8_t* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            crc ^= p[i];
            for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
        }
        return crc;
    };
    for (std::size_t offset = 0; offset < 8; ++offset) {
        for (std::size_t length = 0; offset + length <= sizeof data; ++length) {
            EXPECT_EQ(UpdateCrc32(kCrcStart, data + offset, length), bitwise(kCrcStart, data + offset, length))
                << offset << " " << length;
        }
    }
}

TEST(DosDateTime, RepairClampsOnlyBrokenFields) {
    EXPECT_EQ(RepairDosDateTime(Dos(2020, 1, 2, 13, 4, 6)), Dos(2020, 1, 2, 13, 4, 6));
    // Month 13 and day 0: month 12 and day 1, the valid time untouched.
    const std::uint32_t broken = (std::uint32_t((40 << 9) | (13 << 5) | 0) << 16) | (13 << 11) | (4 << 5) | 3;
    EXPECT_EQ(RepairDosDateTime(broken), Dos(2020, 12, 1, 13, 4, 6));
    // Hour 24 counts as valid; hour 31, minute 63 and seconds 62 are clamped.
    EXPECT_EQ(RepairDosDateTime(Dos(2020, 1, 1, 24, 0, 0)), Dos(2020, 1, 1, 24, 0, 0));
    const std::uint32_t wild = (std::uint32_t((127 << 9) | (0 << 5) | 5) << 16) | (31 << 11) | (63 << 5) | 31;
    EXPECT_EQ(RepairDosDateTime(wild), (std::uint32_t((119 << 9) | (1 << 5) | 5) << 16) | (24 << 11) | (59 << 5) | 29);
}

TEST(DosDateTime, OrderIsZeroForImpossibleDates) {
    EXPECT_EQ(DosDateTimeOrder(Dos(2020, 2, 30, 1, 0, 0)), 0);
    EXPECT_EQ(DosDateTimeOrder(Dos(2020, 1, 1, 24, 0, 0)), 0);
    EXPECT_GT(DosDateTimeOrder(Dos(2020, 2, 29, 0, 0, 0)), DosDateTimeOrder(Dos(2020, 2, 28, 23, 59, 58)));
    EXPECT_GT(DosDateTimeOrder(Dos(1980, 1, 1, 0, 0, 0)), 0);
}

TEST(Percent, RoundsHalvesToEvenAndCaps) {
    EXPECT_EQ(RoundPercent(1, 8), 12);   // 12.5
    EXPECT_EQ(RoundPercent(3, 8), 38);   // 37.5
    EXPECT_EQ(RoundPercent(5, 200), 2);  // 2.5
    EXPECT_EQ(RoundPercent(7, 200), 4);  // 3.5
    EXPECT_EQ(RoundPercent(2, 3), 67);
    EXPECT_EQ(RoundPercent(1999, 2000), 100);  // 99.95
    EXPECT_EQ(RoundPercent(300, 100), 100);
    EXPECT_EQ(RoundPercent(5, 0), 0);
    EXPECT_EQ(RoundPercent(5, -1), 0);
    EXPECT_EQ(RoundPercent(std::int64_t(3) << 40, std::int64_t(6) << 40), 50);
}

TEST(Wildcard, PatternsWithStarsQuestionMarksAndSets) {
    EXPECT_TRUE(MatchesPattern("*", ""));
    EXPECT_TRUE(MatchesPattern("tools\\*.pas", "tools\\unit_sfx.pas"));
    EXPECT_FALSE(MatchesPattern("tools\\*.pas", "tools\\unit_sfx.pas.bak"));
    EXPECT_TRUE(MatchesPattern("t?ols\\*", "tools\\x"));
    EXPECT_FALSE(MatchesPattern("t?ols\\*", "tols\\x"));
    EXPECT_TRUE(MatchesPattern("readme.txt", "readme.txt"));
    EXPECT_FALSE(MatchesPattern("readme", "readme.txt"));
    EXPECT_TRUE(MatchesPattern("**a*b*", "xxaxxbxx"));

    EXPECT_TRUE(MatchesPattern("tools\\unit_<a-c>*", "tools\\unit_build.pas"));
    EXPECT_TRUE(MatchesPattern("tools\\unit_<c-a>*", "tools\\unit_copy.pas"));
    EXPECT_FALSE(MatchesPattern("tools\\unit_<a-c>*", "tools\\unit_sfx.pas"));
    EXPECT_TRUE(MatchesPattern("<!u>*", "readme.txt"));
    EXPECT_FALSE(MatchesPattern("<^u>*", "unit.pas"));
    EXPECT_TRUE(MatchesPattern("<-x>z", "-z"));
    // Sets that are empty, unterminated or with a half range never match.
    EXPECT_FALSE(MatchesPattern("<>*", "abc"));
    EXPECT_FALSE(MatchesPattern("<!>*", "abc"));
    EXPECT_FALSE(MatchesPattern("<abc", "a"));
    EXPECT_FALSE(MatchesPattern("<a->*", "abc"));
}

TEST(Wildcard, ManyStarsStayFast) {
    const std::string name(2000, 'a');
    EXPECT_FALSE(MatchesPattern("*a*a*a*a*a*a*a*a*a*a*b", name));
}

TEST(TargetFolder, DestDirRootDirDrivesAndRoots) {
    EXPECT_EQ(EntryFolder("D:\\out", "", "Tools\\", false), "D:\\out\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "Tools\\", true), "D:\\out\\Tools\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "", true), "D:\\out\\");
    EXPECT_EQ(EntryFolder("D:\\out", "tools\\", "Tools\\Sub\\", true), "D:\\out\\Sub\\");
    EXPECT_EQ(EntryFolder("D:\\out", "tools\\", "Tools\\", true), "D:\\out\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "\\Windows\\", true), "D:\\out\\Windows\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "C:\\Windows\\", true), "D:\\out\\Windows\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "C:Windows\\", true), "D:\\out\\Windows\\");
    // Without DestDir an absolute path is used as it is and a relative one is relative.
    EXPECT_EQ(EntryFolder("", "", "C:\\Windows\\", true), "C:\\Windows\\");
    EXPECT_EQ(EntryFolder("", "", "Tools\\", true), "Tools\\");
    EXPECT_EQ(EntryFolder("", "", "Tools\\", false), "");
}

TEST(TargetFolder, DotDotNeverLeavesDestDir) {
    EXPECT_EQ(EntryFolder("D:\\out", "", "..\\..\\Windows\\", true), "D:\\out\\Windows\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "a\\..\\..\\b\\.\\c\\", true), "D:\\out\\a\\b\\c\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "\\\\server\\share\\", true), "D:\\out\\server\\share\\");
    EXPECT_EQ(EntryFolder("D:\\out", "", "C:..\\x\\", true), "D:\\out\\x\\");
    EXPECT_EQ(EntryFolder("", "", "..\\x\\", true), "x\\");
    EXPECT_TRUE(IsUnsafeFileName(".."));
    EXPECT_TRUE(IsUnsafeFileName("."));
    EXPECT_FALSE(IsUnsafeFileName("..x"));
}

// This program carries no "S_STREAM" resource in the Windows builds: the texts stay.
TEST(StreamErrors, KeepTheirTextsWithoutTheResource) {
    EXPECT_EQ(StreamMessage(kSeekError), "Seek error");
    TMemoryStream stream;
    try {
        stream.Seek(0, 7);
        FAIL() << "origin 7 was accepted";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Invalid seek origin (7)");
    }
}

}  // namespace
}  // namespace pelorin
