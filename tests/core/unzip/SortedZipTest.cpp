// The sort modes of the archive directory and the physical order's duplicate rule.
// Entries are synthetic: only the fields a mode compares are set.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "update/strings/StringsErrors.h"
#include "update/unzip/SortedZip.h"

namespace pelorin {
namespace {

struct EntryShape {
    std::string name;
    std::int32_t compressed;
    std::int32_t uncompressed;
    std::uint32_t dateTime;
    std::uint32_t offset;
};

// Entries given in directory order, added to a non-owning list in the mode; returns the
// names in list order.
std::vector<std::string> Order(TZipSortMode mode, const std::vector<EntryShape>& shapes) {
    std::vector<std::unique_ptr<TZipHeaderInfo>> entries;
    TSortedZip list(mode);
    list.SetOwnsObjects(false);
    for (const EntryShape& shape : shapes) {
        auto entry = std::make_unique<TZipHeaderInfo>();
        entry->SetFullName(shape.name);
        entry->CompressedSize = shape.compressed;
        entry->UncompressedSize = shape.uncompressed;
        entry->DateTime = shape.dateTime;
        entry->LocalHeaderOffset = shape.offset;
        list.Add(entry.get());
        entries.push_back(std::move(entry));
    }
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Entry(i)->FullName());
    return names;
}

const std::uint32_t k2019 = 0x4E210000;
const std::uint32_t k2020 = 0x50210000;
const std::uint32_t kFeb30 = 0x505E0000;  // no such day

using Names = std::vector<std::string>;

TEST(SortedZip, NamesSortWithoutRegardToCase) {
    const std::vector<EntryShape> shapes = {
        {"b.txt", 1, 1, 0, 30}, {"Tools\\A.pas", 1, 1, 0, 0}, {"a.txt", 1, 1, 0, 60}, {"tools\\b.pas", 1, 1, 0, 90}};
    EXPECT_EQ(Order(TZipSortMode::ByName, shapes), (Names{"a.txt", "b.txt", "Tools\\A.pas", "tools\\b.pas"}));
    EXPECT_EQ(Order(TZipSortMode::ByFileName, shapes), (Names{"Tools\\A.pas", "a.txt", "tools\\b.pas", "b.txt"}));
    EXPECT_EQ(Order(TZipSortMode::ByDirectoryName, shapes), (Names{"a.txt", "b.txt", "tools\\b.pas", "Tools\\A.pas"}));
}

TEST(SortedZip, SizesAndDatesLargestFirstWithTiesInDirectoryOrder) {
    const std::vector<EntryShape> shapes = {{"one", 10, 100, k2019, 0},
                                            {"two", 50, 100, kFeb30, 1},
                                            {"three", 10, 300, k2020, 2},
                                            {"four", 10, 20, k2019, 3}};
    EXPECT_EQ(Order(TZipSortMode::ByCompressedSize, shapes), (Names{"two", "one", "three", "four"}));
    EXPECT_EQ(Order(TZipSortMode::ByUnCompressedSize, shapes), (Names{"three", "one", "two", "four"}));
    EXPECT_EQ(Order(TZipSortMode::ByDate, shapes), (Names{"three", "one", "four", "two"}));
}

TEST(SortedZip, RateHighestFirstEqualRatesBeforeEarlierOnes) {
    // Rates: 10, 50, 3 (3.33), 50, 0 (empty), 100 (capped from 200).
    const std::vector<EntryShape> shapes = {{"a", 10, 100, 0, 0}, {"b", 50, 100, 0, 1}, {"c", 10, 300, 0, 2},
                                            {"d", 25, 50, 0, 3},  {"e", 5, 0, 0, 4},    {"f", 40, 20, 0, 5}};
    EXPECT_EQ(Order(TZipSortMode::ByRate, shapes), (Names{"f", "d", "b", "a", "c", "e"}));
    TZipHeaderInfo half;
    half.CompressedSize = 1;
    half.UncompressedSize = 8;
    EXPECT_EQ(EntryRate(half), 12);
}

TEST(SortedZip, PhysicalOrderRefusesTwoEntriesAtOnePlace) {
    TSortedZip directory(TZipSortMode::ByNone, TDuplicates::dupError);
    auto add = [&](std::uint16_t disk, std::uint32_t offset) {
        auto entry = std::make_unique<TZipHeaderInfo>();
        entry->DiskNumberStart = disk;
        entry->LocalHeaderOffset = offset;
        directory.Add(entry.get());
        entry.release();
    };
    add(1, 0);
    add(0, 500);
    add(0, 20);
    EXPECT_EQ(directory.Entry(0)->LocalHeaderOffset, 20u);
    EXPECT_EQ(directory.Entry(2)->DiskNumberStart, 1);
    EXPECT_EQ(directory.FindPhysical(0, 500), 1);
    EXPECT_EQ(directory.FindPhysical(0, 501), -1);
    try {
        add(0, 500);
        FAIL() << "a second entry at disk 0, offset 500 was accepted";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Duplicate Object index");
    }
    EXPECT_EQ(directory.Count(), 3);
}

TEST(ZipHeaderInfo, NamesSplitIntoPathAndFileName) {
    TZipHeaderInfo entry;
    EXPECT_EQ(entry.CompressionMethod, 8);
    EXPECT_EQ(entry.Crc32, 0xFFFFFFFFu);
    EXPECT_EQ(entry.ExternalAttributes, 32u);
    entry.SetFullName("Tools\\unit_build.pas");
    EXPECT_EQ(entry.Path(), "Tools\\");
    EXPECT_EQ(entry.FileName(), "unit_build.pas");
    EXPECT_EQ(entry.FileNameLength, 20);
    entry.SetFullName("Tools\\");
    EXPECT_EQ(entry.Path(), "Tools\\");
    EXPECT_EQ(entry.FileName(), "");
    entry.SetPath("Other");
    EXPECT_EQ(entry.Path(), "Other\\");
    EXPECT_EQ(entry.FileNameLength, 6);
    entry.SetComment("note");
    EXPECT_EQ(entry.CommentLength, 4);
    TZipHeaderInfo copy;
    copy.Assign(entry);
    EXPECT_EQ(copy.FullName(), "Other\\");
    EXPECT_EQ(copy.Comment(), "note");
}

}  // namespace
}  // namespace pelorin
