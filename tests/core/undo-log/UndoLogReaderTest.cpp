// Reading REMOVE.LOG back: round trips, and every kind of damage is refused with a reason.
// The uninstaller relies on these refusals to change nothing when a log cannot be trusted.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "setup/install/UndoChanges.h"
#include "setup/install/UndoLog.h"

namespace pelorin {
namespace {

TUndoChanges Sample() {
    TUndoChanges c;
    c.Title = "Sample Application 1.0";
    c.CommonGroup = 1;
    c.AddChange(ukDirectory, {"C:\\Program Files\\Sample"}, 0);
    c.AddChange(ukFile, {"C:\\Program Files\\Sample\\s.hlp", ""}, ufNotifyShell);
    c.AddChange(ukRegValue, {"Software\\Sample", ""}, 0x80000001u);
    c.AddRecord(200, "??", 2, 7);  // unknown kinds travel unchanged
    c.AddRecord(ukProgman, nullptr, 0, 0);
    return c;
}

void ExpectSame(const TUndoChanges& a, const TUndoChanges& b) {
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.CommonGroup, b.CommonGroup);
    ASSERT_EQ(a.Records().size(), b.Records().size());
    for (std::size_t i = 0; i < a.Records().size(); ++i) {
        EXPECT_EQ(a.Records()[i].kind, b.Records()[i].kind) << i;
        EXPECT_EQ(a.Records()[i].value, b.Records()[i].value) << i;
        EXPECT_EQ(a.Records()[i].data, b.Records()[i].data) << i;
    }
}

std::string DamageReason(const std::string& bytes) {
    try {
        DecodeUndoLog(bytes);
    } catch (const EUndoLogError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(UndoLogReader, RoundTripThroughAFile) {
    const TUndoChanges original = Sample();
    const std::string path = testing::TempDir() + "undo_reader_REMOVE.LOG";
    original.SaveToFile(path);
    ExpectSame(LoadUndoLog(path), original);
    std::remove(path.c_str());
}

TEST(UndoLogReader, ReservedBytesAndHeaderPaddingAreIgnored) {
    std::string bytes = EncodeUndoLog(Sample());
    for (int i = 0; i < 8; ++i) bytes[78 + i] = static_cast<char>(0xAB);  // first record head
    bytes[75] = bytes[76] = bytes[77] = 'p';
    bytes[11 + 30] = 'z';  // behind the title's length
    ExpectSame(DecodeUndoLog(bytes), Sample());
}

TEST(UndoLogReader, MoreThan65535RecordsReadWholeDespiteTheWrappedCount) {
    TUndoChanges c;
    for (int i = 0; i < 65537; ++i) c.AddRecord(ukShellNotify, "", 0, static_cast<std::uint32_t>(i));
    const std::string bytes = EncodeUndoLog(c);
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0);
    const TUndoChanges back = DecodeUndoLog(bytes);
    ASSERT_EQ(back.Records().size(), 65537u);
    EXPECT_EQ(back.Records().back().value, 65536u);
}

TEST(UndoLogReader, DamagedLogsAreRefusedWithAReason) {
    const std::string good = EncodeUndoLog(Sample());
    EXPECT_NE(DamageReason("").find("header is cut short"), std::string::npos);
    EXPECT_NE(DamageReason(good.substr(0, 77)).find("header is cut short"), std::string::npos);

    std::string magic = good;
    magic[7] = 'X';
    EXPECT_NE(DamageReason(magic).find("signature"), std::string::npos);

    std::string title = good;
    title[10] = 64;
    EXPECT_NE(DamageReason(title).find("title"), std::string::npos);

    // Cut inside a record head, and inside its data.
    EXPECT_NE(DamageReason(good.substr(0, 78 + 10)).find("record 1 is cut short"), std::string::npos);
    EXPECT_NE(DamageReason(good.substr(0, 78 + 15 + 3)).find("record 1 is cut short"), std::string::npos);
    EXPECT_NE(DamageReason(good.substr(0, good.size() - 1)).find("record 5"), std::string::npos);

    std::string count = good;
    count[8] = 6;
    EXPECT_NE(DamageReason(count).find("holds 5 records but its header counts 6"), std::string::npos);

    // A cut exactly between two records is caught by the count.
    const std::size_t firstRecordEnd = 78 + 15 + Sample().Records()[0].data.size();
    EXPECT_NE(DamageReason(good.substr(0, firstRecordEnd)).find("holds 1 records"), std::string::npos);

    std::string length = good;
    length[78 + 13] = static_cast<char>(0xFF);
    length[78 + 14] = static_cast<char>(0xFF);
    EXPECT_NE(DamageReason(length).find("more data than a record can hold"), std::string::npos);
}

TEST(UndoLogReader, AHugeDeclaredCountOnATinyFileIsRefusedCheaply) {
    std::string bytes = EncodeUndoLog(TUndoChanges());
    bytes[8] = bytes[9] = static_cast<char>(0xFF);
    bytes += std::string(8, '\0') + std::string("\0\0\0\0\1\xD9\xFD", 7);  // claims 64985 bytes
    EXPECT_NE(DamageReason(bytes).find("record 1 is cut short"), std::string::npos);
}

TEST(UndoLogReader, FileErrorsNameTheFile) {
    const std::string missing = testing::TempDir() + "no_such_REMOVE.LOG";
    try {
        LoadUndoLog(missing);
        FAIL();
    } catch (const EUndoLogError& e) {
        EXPECT_NE(std::string(e.what()).find("Unable to open the file " + missing), std::string::npos);
    }
    const std::string damaged = testing::TempDir() + "damaged_REMOVE.LOG";
    {
        std::ofstream out(damaged, std::ios::binary);
        out << "zfw102bs";
    }
    try {
        LoadUndoLog(damaged);
        FAIL();
    } catch (const EUndoLogError& e) {
        EXPECT_EQ(std::string(e.what()), "The file " + damaged + " is damaged: the header is cut short");
    }
    std::remove(damaged.c_str());
}

}  // namespace
}  // namespace pelorin
