// The bytes the installation writes to REMOVE.LOG: header, record heads, strings, limits.
// Every expected byte is spelled out so that a change to the layout cannot slip through.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "setup/install/UndoChanges.h"
#include "setup/install/UndoLog.h"

namespace pelorin {
namespace {

std::string Head(std::uint32_t value, std::uint8_t kind, std::uint16_t length) {
    std::string h(8, '\0');
    for (int i = 0; i < 4; ++i) h += static_cast<char>((value >> (8 * i)) & 0xFF);
    h += static_cast<char>(kind);
    h += static_cast<char>(length & 0xFF);
    h += static_cast<char>(length >> 8);
    return h;
}

std::string Header(std::uint16_t count, const std::string& title, std::uint8_t common) {
    std::string h("zfw102bs", 8);
    h += static_cast<char>(count & 0xFF);
    h += static_cast<char>(count >> 8);
    h += static_cast<char>(title.size());
    h += title + std::string(63 - title.size(), '\0');
    h += static_cast<char>(common);
    h += std::string(3, '\0');
    return h;
}

TEST(UndoRecordStrings, ReadByPositionAndStayInsideTheData) {
    UndoRecord r;
    r.data = std::string("C:\\a.txt\0\0third\0", 16);
    EXPECT_EQ(r.String(0), "C:\\a.txt");
    EXPECT_EQ(r.String(1), "");
    EXPECT_EQ(r.String(2), "third");
    EXPECT_EQ(r.String(3), "");
    EXPECT_EQ(r.String(100), "");
    r.data = "no terminator";
    EXPECT_EQ(r.String(0), "no terminator");
    EXPECT_EQ(r.String(1), "");
    r.data.clear();
    EXPECT_EQ(r.String(0), "");
}

TEST(UndoLogBytes, EveryRecordKindInOrder) {
    TUndoChanges c;
    c.Title = "My App";
    c.CommonGroup = 1;
    c.AddChange(ukDirectory, {"C:\\App"}, udNotifyShell);
    c.AddChange(ukFile, {"C:\\App\\a.dll", "C:\\App\\zp1.tmp"}, 0x0C);
    c.AddChange(ukProgman, {"Group", ""}, 0);
    c.AddChange(ukIniValue, {"", "Sect", "Key"}, 0);
    c.AddChange(ukIniSection, {"x.ini", "Sect"}, 0);
    c.AddChange(ukRegKeyTree, {"Software\\A"}, 0x80000002u);
    c.AddChange(ukRegKeyIfEmpty, {"Software\\B"}, 0x80000001u);
    c.AddChange(ukRegValue, {"Software\\C", "Val"}, 0x80000000u);
    c.AddChange(ukShellNotify, {"C:\\Start"}, 0x1000);

    std::string expected = Header(9, "My App", 1);
    expected += Head(1, 0, 7) + std::string("C:\\App\0", 7);
    expected += Head(0x0C, 1, 28) + std::string("C:\\App\\a.dll\0C:\\App\\zp1.tmp\0", 28);
    expected += Head(0, 2, 7) + std::string("Group\0\0", 7);
    expected += Head(0, 3, 10) + std::string("\0Sect\0Key\0", 10);
    expected += Head(0, 4, 11) + std::string("x.ini\0Sect\0", 11);
    expected += Head(0x80000002u, 5, 11) + std::string("Software\\A\0", 11);
    expected += Head(0x80000001u, 6, 11) + std::string("Software\\B\0", 11);
    expected += Head(0x80000000u, 7, 15) + std::string("Software\\C\0Val\0", 15);
    expected += Head(0x1000, 8, 9) + std::string("C:\\Start\0", 9);
    EXPECT_EQ(EncodeUndoLog(c), expected);
}

TEST(UndoLogBytes, EmptyListIsJustTheHeader) {
    TUndoChanges c;
    EXPECT_EQ(EncodeUndoLog(c), Header(0, "", 0));
    EXPECT_EQ(EncodeUndoLog(c).size(), 78u);
}

TEST(UndoLogBytes, LongTitleIsCutTo63Characters) {
    TUndoChanges c;
    c.Title = std::string(63, 'x') + "yz";
    const std::string bytes = EncodeUndoLog(c);
    ASSERT_EQ(bytes.size(), 78u);
    EXPECT_EQ(bytes.substr(0, 78), Header(0, std::string(63, 'x'), 0));
    EXPECT_EQ(c.Title.size(), 65u);  // memory keeps the whole title
}

TEST(UndoLogBytes, DataIsCutAtTheRecordLimit) {
    TUndoChanges c;
    const std::string big(70000, 'a');
    c.AddRecord(ukFile, big.data(), big.size(), 0);
    c.AddRecord(ukFile, big.data(), MaxUndoDataLength, 0);
    ASSERT_EQ(c.Records().size(), 2u);
    EXPECT_EQ(c.Records()[0].data.size(), MaxUndoDataLength);
    const std::string bytes = EncodeUndoLog(c);
    EXPECT_EQ(bytes.size(), 78u + 2 * (15u + 64985u));
    EXPECT_EQ(bytes.substr(78, 15), Head(0, 1, 64985));
}

TEST(UndoLogBytes, ClearDropsRecordsTitleAndGroupFlag) {
    TUndoChanges c;
    c.Title = "t";
    c.CommonGroup = 1;
    c.AddChange(ukDirectory, {"C:\\x"}, 0);
    c.Clear();
    EXPECT_TRUE(c.Empty());
    EXPECT_EQ(EncodeUndoLog(c), Header(0, "", 0));
}

TEST(UndoLogBytes, SaveToFileWritesTheSameBytesAndReplacesTheFile) {
    const std::string path = testing::TempDir() + "undo_bytes_REMOVE.LOG";
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(5000, 'o');
    }
    TUndoChanges c;
    c.Title = "Title";
    c.AddChange(ukRegValue, {"Software\\X", "v"}, 0x80000002u);
    c.SaveToFile(path);
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, EncodeUndoLog(c));
    std::remove(path.c_str());
}

TEST(UndoLogBytes, SaveToFileRaisesWhenTheFileCannotBeCreated) {
    TUndoChanges c;
    const std::string path = testing::TempDir() + "no_such_dir_for_undo/REMOVE.LOG";
    try {
        c.SaveToFile(path);
        FAIL() << "no error raised";
    } catch (const EUndoLogError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    }
}

}  // namespace
}  // namespace pelorin
