// Record layouts: exact field offsets, round trips of every record kind, and the
// rules for texts that do not fit (on writing) or claim too much (on reading).
#include <gtest/gtest.h>

#include "SampleData.h"
#include "setup/Struct.h"

namespace pelorin {
namespace {

template <class R>
void ExpectRoundTrip(const std::vector<R>& records) {
    ASSERT_FALSE(records.empty());
    for (const R& r : records) EXPECT_TRUE(R::Decode(r.Encode()) == r);
}

TEST(Records, EveryKindRoundTrips) {
    const SetupData d = test::SampleSetupData();
    ExpectRoundTrip(std::vector<SetupHeader>{d.Header});
    ExpectRoundTrip(d.DirEntries);
    ExpectRoundTrip(d.FileEntries);
    ExpectRoundTrip(d.IconEntries);
    ExpectRoundTrip(d.IniEntries);
    ExpectRoundTrip(d.RegistryEntries);
    ExpectRoundTrip(d.UninstallDeleteEntries);
    ExpectRoundTrip(d.RunEntries);
}

TEST(Records, HeaderFieldOffsets) {
    SetupHeader h;
    h.AppName = "A";
    h.AppVerName = "BB";
    h.DefaultDirName = "CCC";
    h.DefaultGroupName = "DDDD";
    h.DirCount = 0x01020304;
    h.RunCount = -2;
    h.LicenseSize = 0x0A0B0C0D;
    h.MinWinMajor = 4;
    h.MinWinMinor = 10;
    h.MinNTMajor = 3;
    h.MinNTMinor = 51;
    h.BackColor = 0x80000001u;
    h.Flags = 0x0D;
    const SetupHeader::Bytes b = h.Encode();
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1], 'A');
    EXPECT_EQ(b[64], 2);
    EXPECT_EQ(b[65], 'B');
    EXPECT_EQ(b[192], 3);
    EXPECT_EQ(b[240], 4);
    EXPECT_EQ(GetLE32(&b[288]), 0x01020304u);
    EXPECT_EQ(GetLE32(&b[312]), 0xFFFFFFFEu);
    EXPECT_EQ(GetLE32(&b[316]), 0x0A0B0C0Du);
    EXPECT_EQ(b[320], 4);
    EXPECT_EQ(b[321], 10);
    EXPECT_EQ(b[322], 3);
    EXPECT_EQ(b[323], 51);
    EXPECT_EQ(GetLE32(&b[324]), 0x80000001u);
    EXPECT_EQ(b[328], 0x0D);
    EXPECT_EQ(b[2], 0) << "bytes after a text stay zero";
}

TEST(Records, EntryFieldOffsets) {
    FileEntry f;
    f.DataOffset = 7;
    f.DestName = "d";
    f.FileTime = 0x1122334455667788ull;
    f.VersionMS = 1;
    f.VersionLS = 2;
    f.UncompressedSize = 3;
    f.CompressedSize = 4;
    f.Adler32 = 5;
    f.CopyMode = cmAlwaysReplace;
    f.Flags = FileEntry::IsUndoLog;
    const FileEntry::Bytes fb = f.Encode();
    EXPECT_EQ(GetLE32(&fb[0]), 7u);
    EXPECT_EQ(fb[4], 1);
    EXPECT_EQ(GetLE32(&fb[68]), 0x55667788u);
    EXPECT_EQ(GetLE32(&fb[72]), 0x11223344u);
    EXPECT_EQ(GetLE32(&fb[76]), 1u);
    EXPECT_EQ(GetLE32(&fb[92]), 5u);
    EXPECT_EQ(fb[96], 2);
    EXPECT_EQ(fb[97], 0x40);

    IconEntry i;
    i.WorkingDir = "w";
    i.IconFilename = "f";
    i.IconIndex = -1;
    const IconEntry::Bytes ib = i.Encode();
    EXPECT_EQ(ib[240], 1);
    EXPECT_EQ(ib[288], 1);
    EXPECT_EQ(GetLE32(&ib[352]), 0xFFFFFFFFu);

    IniEntry n;
    n.Value = "v";
    n.Flags = 2;
    const IniEntry::Bytes nb = n.Encode();
    EXPECT_EQ(nb[160], 1);
    EXPECT_EQ(nb[288], 2);

    RunEntry r;
    r.Parameters = "p";
    r.Flags = 1;
    const RunEntry::Bytes rb = r.Encode();
    EXPECT_EQ(rb[64], 1);
    EXPECT_EQ(rb[192], 1);
}

TEST(Records, RegistryTextsAreZeroTerminatedAndMayFillTheirField) {
    RegistryEntry r;
    r.RootKey = 0x80000001u;
    r.SubKey = std::string(128, 'k');
    r.ValueName = "name";
    r.ValueData = "data";
    r.ValueType = 2;
    r.Flags = 1;
    RegistryEntry::Bytes b = r.Encode();
    EXPECT_EQ(GetLE32(&b[0]), 0x80000001u);
    EXPECT_EQ(b[4], 'k');
    EXPECT_EQ(b[131], 'k');
    EXPECT_EQ(b[132], 'n');
    EXPECT_EQ(b[136], 0);
    EXPECT_EQ(b[180], 'd');
    EXPECT_EQ(b[308], 2);
    EXPECT_EQ(b[309], 1);
    EXPECT_EQ(RegistryEntry::Decode(b).SubKey, std::string(128, 'k'));

    // Bytes after the terminator are not part of the text.
    b[137] = 'x';
    EXPECT_EQ(RegistryEntry::Decode(b).ValueName, "name");
}

TEST(Records, TextsThatDoNotFitAreRefusedWhenWriting) {
    SetupHeader h;
    h.AppName = std::string(64, 'a');
    EXPECT_THROW(h.Encode(), ERecordEncodeError);
    DirEntry d{std::string(48, 'd')};
    EXPECT_THROW(d.Encode(), ERecordEncodeError);
    IconEntry i;
    i.Parameters = std::string(128, 'p');
    EXPECT_THROW(i.Encode(), ERecordEncodeError);
    RegistryEntry r;
    r.ValueName = std::string(49, 'n');
    EXPECT_THROW(r.Encode(), ERecordEncodeError);
    r.ValueName = std::string("a\0b", 3);
    EXPECT_THROW(r.Encode(), ERecordEncodeError);
}

TEST(Records, ReadingKeepsStatedLengthAndRejectsLengthAboveCapacity) {
    DirEntry::Bytes b{};
    b[0] = 3;
    b[1] = 'a';
    b[2] = '\xE9';
    b[3] = 0;
    b[4] = 'z';  // after the stated length: ignored
    EXPECT_EQ(DirEntry::Decode(b).DirName, std::string("a\xE9\0", 3));
    b[0] = 47;
    EXPECT_EQ(DirEntry::Decode(b).DirName.size(), 47u);
    b[0] = 48;
    EXPECT_THROW(DirEntry::Decode(b), ECorruptRecord);

    SetupHeader::Bytes h = SetupHeader().Encode();
    h[240] = 200;  // DefaultGroupName, capacity 47
    EXPECT_THROW(SetupHeader::Decode(h), ECorruptRecord);
}

TEST(Records, TotalSizeWrapsIn32Bits) {
    const SetupData d = test::SampleSetupData();
    // 0x80000000 + 0x80000005 wraps to 5.
    EXPECT_EQ(ComputeTotalSize(d.FileEntries), 5);
    std::vector<FileEntry> one(1);
    one[0].UncompressedSize = 0xFFFFFC00u;
    EXPECT_EQ(ComputeTotalSize(one), -1024);
}

}  // namespace
}  // namespace pelorin
