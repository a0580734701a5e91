// Reading archive directories: archives made by zip and 7-Zip, the end record search,
// comments, archives behind a program stub, spanned archives and incomplete ones.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ZipBuilder.h"
#include "update/strings/MemoryStream.h"
#include "update/strings/StringsErrors.h"
#include "update/unzip/UnzipErrors.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {
namespace {

using test::Bytes;
using test::ToolArchive;
using test::ZipBuilder;

std::unique_ptr<TStream> Memory(const std::vector<std::uint8_t>& bytes) {
    return std::make_unique<TMemoryStream>(bytes);
}

std::vector<std::string> Names(const TVCLUnZip& zip) {
    std::vector<std::string> names;
    for (int i = 0; i < zip.EntryCount(); ++i) names.push_back(zip.EntryFullName(i));
    return names;
}

TEST(Directory, ListsAnArchiveMadeByZip) {
    TVCLUnZip zip;
    zip.SetZipName(ToolArchive("deflated.zip"));
    zip.ReadDirectory();
    ASSERT_EQ(zip.EntryCount(), 10);
    EXPECT_EQ(zip.EntryFullName(0), "readme.txt");
    EXPECT_EQ(zip.EntryPath(1), "Tools\\");
    EXPECT_EQ(zip.EntryName(1), "");
    EXPECT_EQ(zip.EntryPath(3), "Tools\\");
    EXPECT_EQ(zip.EntryName(3), "unit_build.pas");
    EXPECT_EQ(zip.EntryFullName(9), "sub\\deep\\noise.bin");
    EXPECT_EQ(zip.Entry(9).UncompressedSize, 150000);
    EXPECT_EQ(zip.Entry(4).CompressionMethod, 8);
    EXPECT_EQ(zip.Entry(0).DateTime, 0x50226883u);  // 2020-01-02 13:04:06
    EXPECT_FALSE(zip.DirectoryRebuilt());
    EXPECT_EQ(zip.SpanMode(), TSpanMode::SpanNone);
    EXPECT_EQ(zip.NumberOfDisks(), 1);
    try {
        zip.EntryName(10);
        FAIL() << "index 10 was accepted";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Index 10 is out of range");
    }
    EXPECT_THROW(zip.EntryName(-1), EListError);
}

TEST(Directory, SortModeRebuildsTheViewAndIndicesFollowIt) {
    TVCLUnZip zip;
    zip.SetZipName(ToolArchive("flat.zip"));
    zip.ReadDirectory();
    EXPECT_EQ(Names(zip), (std::vector<std::string>{"readme.txt", "Tools\\unit_sfx.pas", "Tools\\unit_build.pas"}));
    zip.SetSortMode(TZipSortMode::ByFileName);
    EXPECT_EQ(Names(zip), (std::vector<std::string>{"readme.txt", "Tools\\unit_build.pas", "Tools\\unit_sfx.pas"}));
    zip.SetSortMode(TZipSortMode::ByUnCompressedSize);
    EXPECT_EQ(zip.EntryName(0), "readme.txt");
    zip.SetSortMode(TZipSortMode::ByNone);
    EXPECT_EQ(zip.EntryName(1), "unit_sfx.pas");
}

TEST(Directory, CommentsAreReadOnDemand) {
    TVCLUnZip zip;
    zip.SetZipName(ToolArchive("comment.zip"));
    zip.ReadDirectory();
    ASSERT_EQ(zip.EntryCount(), 2);
    EXPECT_FALSE(zip.Entry(0).CommentLoaded());
    EXPECT_EQ(zip.EntryComment(0), "About the readme.");
    EXPECT_EQ(zip.EntryComment(1), "About the unit.");
    EXPECT_EQ(zip.ArchiveComment(), "The archive comment.");
    EXPECT_FALSE(zip.EndCentral().CommentChanged);
    zip.SetEntryComment(1, "About the unit.");
    EXPECT_FALSE(zip.EndCentral().CommentChanged);
    zip.SetArchiveComment("Another comment");
    EXPECT_TRUE(zip.EndCentral().CommentChanged);
    EXPECT_EQ(zip.ArchiveComment(), "Another comment");
    EXPECT_EQ(zip.EndCentral().CommentLength, 15);
}

TEST(Directory, EndRecordSearchReachesBack65528Bytes) {
    const std::string longest(65506, 'c');
    TVCLUnZip found;
    found.SetArchiveStream(Memory(ZipBuilder().Add("a.txt", "A").Comment(longest).Build()));
    found.ReadDirectory();
    EXPECT_EQ(found.EntryCount(), 1);
    EXPECT_EQ(found.ArchiveComment(), longest);

    TVCLUnZip tooFar;
    tooFar.SetArchiveStream(Memory(ZipBuilder().Add("a.txt", "A").Comment(longest + "c").Build()));
    try {
        tooFar.ReadDirectory();
        FAIL() << "an end record 65529 bytes from the end was found";
    } catch (const EIncompleteZip& e) {
        EXPECT_STREQ(e.what(), "Incomplete Zip File");
    }
}

TEST(Directory, TheEndRecordNearestTheEndWins) {
    // The comment holds a second, complete end record that claims two entries.
    const std::vector<std::uint8_t> inner = ZipBuilder().Add("x", "1").Add("y", "2").Build();
    const std::string fake(inner.end() - 22, inner.end());
    const std::vector<std::uint8_t> outer = ZipBuilder().Add("a.txt", "A").Comment(fake + "tail").Build();
    TVCLUnZip zip;
    zip.SetArchiveStream(Memory(outer));
    zip.ReadDirectory();
    ASSERT_EQ(zip.EntryCount(), 1);
    EXPECT_EQ(zip.EntryName(0), "a.txt");
}

TEST(Directory, ArchiveBehindAProgramIsFoundByScanningFrom14000) {
    TVCLUnZip zip;
    zip.SetZipName(ToolArchive("sfx.EXE"));
    zip.ReadDirectory();
    EXPECT_TRUE(zip.DirectoryRebuilt());
    ASSERT_EQ(zip.EntryCount(), 10);
    EXPECT_EQ(zip.EntryFullName(4), "Tools\\numbers.txt");
    EXPECT_EQ(zip.Entry(0).LocalHeaderOffset, 20000u);
    // The central headers point elsewhere: the scanned entries keep their local data.
    EXPECT_EQ(zip.Entry(0).CentralHeaderOffset, 0u);
    EXPECT_EQ(zip.Entry(0).ExternalAttributes, 0u);
    EXPECT_EQ(zip.Entry(0).VersionMadeBy, 0);

    // A lower-case ".exe" is scanned from the start and meets the decoy header.
    TVCLUnZip lower;
    lower.SetZipName(ToolArchive("sfx-lower.exe"));
    lower.ReadDirectory();
    ASSERT_GE(lower.EntryCount(), 1);
    EXPECT_EQ(lower.Entry(0).LocalHeaderOffset, 100u);
}

TEST(Directory, ArchiveCopiedFromItsFirstByteReadsTheCentralDirectory) {
    const std::vector<std::uint8_t> stub(30000, 'x');
    TVCLUnZip zip;
    zip.SetArchiveStream(Memory(ZipBuilder().Prefix(stub, true).Add("a.txt", "A").Add("b.txt", "B").Build()));
    zip.ReadDirectory();
    EXPECT_FALSE(zip.DirectoryRebuilt());
    ASSERT_EQ(zip.EntryCount(), 2);
    EXPECT_EQ(zip.Entry(1).LocalHeaderOffset, 30000u + 30u + 5u + 1u);
}

TEST(Directory, ScannedDirectoryTakesMatchingCentralData) {
    // Offsets ignore the 50 bytes in front: the end record's central offset is wrong too.
    test::BuiltEntry entry;
    entry.name = "dir/file.txt";
    entry.data = Bytes("content");
    entry.comment = "entry note";
    entry.externalAttributes = 0x21;
    TVCLUnZip zip;
    zip.SetArchiveStream(Memory(ZipBuilder().Prefix(std::vector<std::uint8_t>(50, 0), false).Add(entry).Build()));
    zip.ReadDirectory();
    EXPECT_TRUE(zip.DirectoryRebuilt());
    ASSERT_EQ(zip.EntryCount(), 1);
    EXPECT_EQ(zip.Entry(0).LocalHeaderOffset, 50u);
    EXPECT_EQ(zip.Entry(0).ExternalAttributes, 0u);  // the central header at offset 0 matched nothing

    // Without the prefix the scan starts at 0 and the central header matches the entry.
    TVCLUnZip plain;
    std::vector<std::uint8_t> bytes = ZipBuilder().Add(entry).Build();
    bytes[bytes.size() - 6] ^= 0x01;  // a central directory offset that points nowhere
    plain.SetArchiveStream(Memory(bytes));
    plain.ReadDirectory();
    EXPECT_TRUE(plain.DirectoryRebuilt());
    ASSERT_EQ(plain.EntryCount(), 1);
    EXPECT_EQ(plain.Entry(0).ExternalAttributes, 0x21u);
    EXPECT_EQ(plain.EntryComment(0), "entry note");
}

TEST(Directory, IncompleteArchiveFollowsTheHandlersMode) {
    std::vector<std::uint8_t> bytes = ZipBuilder().Add("a.txt", "A").Add("b.txt", "BB").Build();
    bytes.resize(bytes.size() - 10);  // the end record is cut
    TVCLUnZip zip;
    zip.SetArchiveStream(Memory(bytes));
    EXPECT_THROW(zip.ReadDirectory(), EIncompleteZip);
    EXPECT_EQ(zip.EntryCount(), 0);

    int asked = 0;
    zip.OnInCompleteZip = [&](TVCLUnZip&, TIncompleteZipMode& mode) {
        ++asked;
        EXPECT_EQ(mode, TIncompleteZipMode::izAssumeMulti);
        mode = TIncompleteZipMode::izAssumeBad;
    };
    zip.ReadDirectory();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(zip.IncompleteZipMode(), TIncompleteZipMode::izAssumeBad);
    EXPECT_TRUE(zip.DirectoryRebuilt());
    ASSERT_EQ(zip.EntryCount(), 2);
    EXPECT_EQ(zip.EntryName(1), "b.txt");
}

TEST(Directory, ScanLetsMessagesRunAndHonoursACancelRequest) {
    std::vector<std::uint8_t> bytes(50000, 0);
    const std::vector<std::uint8_t> archive = ZipBuilder().Add("a.txt", "A").Build();
    bytes.insert(bytes.end(), archive.begin(), archive.end() - 22);  // no end record
    test::ScriptedServices os;
    TVCLUnZip zip(os);
    zip.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
    zip.SetArchiveStream(Memory(bytes));
    zip.ReadDirectory();
    EXPECT_EQ(os.messageRuns, 4);  // once per 10240 bytes that are not "P"
    EXPECT_EQ(zip.EntryCount(), 1);

    TVCLUnZip cancelled(os);
    os.onProcessMessages = [&] { cancelled.SetCancelRequested(true); };
    cancelled.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
    cancelled.SetArchiveStream(Memory(bytes));
    try {
        cancelled.ReadDirectory();
        FAIL() << "the scan went on after a cancel request";
    } catch (const EUserCanceled& e) {
        EXPECT_STREQ(e.what(), "User Aborted Operation");
    }
    EXPECT_FALSE(cancelled.CancelRequested());
    EXPECT_EQ(cancelled.EntryCount(), 0);

    os.onProcessMessages = nullptr;
    cancelled.SetDoProcessMessages(false);
    const int runs = os.messageRuns;
    cancelled.ReadDirectory();
    EXPECT_EQ(os.messageRuns, runs);
    EXPECT_EQ(cancelled.EntryCount(), 1);
}

TEST(Directory, StreamsTooShortOrWithoutHeadersHaveNoEntries) {
    TVCLUnZip tiny;
    tiny.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
    tiny.SetArchiveStream(Memory(Bytes("PK\x05\x06")));
    tiny.ReadDirectory();
    EXPECT_EQ(tiny.EntryCount(), 0);

    TVCLUnZip empty;
    empty.SetArchiveStream(Memory(ZipBuilder().Build()));
    empty.ReadDirectory();
    EXPECT_EQ(empty.EntryCount(), 0);
    EXPECT_EQ(empty.Extract(), 0);
}

TEST(Directory, DuplicateLocalOffsetsAreRefused) {
    ZipBuilder builder;
    std::vector<std::uint8_t> bytes = builder.Add("a.txt", "A").Add("b.txt", "B").Build();
    // The second central header's local offset (at +42) is made 0, like the first one's.
    const std::size_t second = builder.CentralOffset() + 46 + 5;
    for (int i = 0; i < 4; ++i) bytes[second + 42 + i] = 0;
    TVCLUnZip zip;
    zip.SetArchiveStream(Memory(bytes));
    try {
        zip.ReadDirectory();
        FAIL() << "two entries at offset 0 were accepted";
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "Duplicate Object index");
    }
    EXPECT_EQ(zip.EntryCount(), 0);
}

TEST(Directory, NamesAreConvertedFromTheOemCharacterSet) {
    test::BuiltEntry entry;
    entry.name = "caf\x82/d\x82j\x85.txt";  // code page 437: e acute, a grave
    entry.data = Bytes("x");
    TVCLUnZip zip;
    zip.SetArchiveStream(Memory(ZipBuilder().Add(entry).Build()));
    zip.ReadDirectory();
    const SystemServices os;
    EXPECT_EQ(zip.EntryPath(0), os.OemToAnsiText("caf\x82") + "\\");
    EXPECT_EQ(zip.EntryName(0), os.OemToAnsiText("d\x82j\x85.txt"));
#ifndef _WIN32
    EXPECT_EQ(zip.EntryFullName(0), "caf\xE9\\d\xE9j\xE0.txt");
#endif
}

TEST(Directory, FixtureNameWithOemCharacters) {
    const std::string fixtures =
        std::string(std::getenv("PELORIN_SOURCE_DIR") ? std::getenv("PELORIN_SOURCE_DIR") : ".");
    TVCLUnZip zip;
    zip.SetZipName(testing::JoinPath(fixtures, "tests/fixtures/zip-legacy/sc-implode.zip"));
    zip.ReadDirectory();
    ASSERT_EQ(zip.EntryCount(), 3);
    bool sawConverted = false;
    for (int i = 0; i < zip.EntryCount(); ++i) {
        for (const char c : zip.EntryFullName(i)) sawConverted |= static_cast<unsigned char>(c) >= 0x80;
    }
    EXPECT_TRUE(sawConverted);
}

TEST(Directory, ZipNameChangesFreeTheDirectory) {
    test::ScriptedServices os;
    TVCLUnZip zip(os);
    zip.SetZipName(ToolArchive("flat.zip"));
    zip.ReadDirectory();
    ASSERT_EQ(zip.EntryCount(), 3);
    zip.SetZipName(ToolArchive("FLAT.ZIP"));  // the same name in other letters changes nothing
    EXPECT_EQ(zip.EntryCount(), 3);
    zip.SetZipName(ToolArchive("comment.zip"));
    EXPECT_EQ(zip.EntryCount(), 0);
    zip.ReadDirectory();
    EXPECT_EQ(zip.EntryCount(), 2);
    zip.CloseArchive();
    EXPECT_EQ(zip.EntryCount(), 0);
    EXPECT_EQ(zip.ZipName(), "");
    try {
        zip.SetZipName("C:\\nowhere\\?");
        FAIL() << "a cancelled file dialog set a name";
    } catch (const EUserCanceled& e) {
        EXPECT_STREQ(e.what(), "User canceled setting zip file name.");
    }
    ASSERT_EQ(os.dialogs.size(), 1u);
    EXPECT_EQ(os.dialogs[0], "Open a Zip File|C:\\");
    os.folderAnswer = "D:\\picked\\";
    zip.SetDestDir("?");
    EXPECT_EQ(zip.DestDir(), "D:\\picked");
    os.folderAnswer.reset();
    EXPECT_THROW(zip.SetDestDir("?"), EUserCanceled);
    EXPECT_EQ(zip.DestDir(), "D:\\picked");
}

}  // namespace
}  // namespace pelorin
