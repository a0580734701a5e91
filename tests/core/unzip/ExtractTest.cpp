// Extraction: every method the tools make, selection patterns, overwrite rules, passwords,
// checksums, progress, folders, attributes, time stamps and the archive stream's owner.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ZipBuilder.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/UnzipErrors.h"
#include "update/unzip/VCLUnZip.h"

namespace fs = std::filesystem;

namespace pelorin {
namespace {

using test::Bytes;
using test::SourceFile;
using test::ToolArchive;
using test::ZipBuilder;
using testing::JoinPath;
using testing::ReadBytes;
using testing::ReadText;
using testing::ScratchDir;

const std::vector<std::string> kFiles = {"readme.txt",           "Tools/numbers.txt",   "Tools/unit_sfx.pas",
                                         "Tools/unit_build.pas", "Tools/unit_copy.pas", "sub/empty.txt",
                                         "sub/deep/noise.bin"};

class Extraction : public test::ExtractionRig {
protected:
    void SetUp() override {
        zip.OnSkippingFile = [this](TVCLUnZip&, TSkipReason reason, int index) {
            skips.push_back(std::to_string(static_cast<int>(reason)) + ":" + zip.EntryFullName(index));
        };
        zip.OnBadCRC = [this](TVCLUnZip&, std::uint32_t calc, std::uint32_t stored, int index) {
            badCrcs.push_back(zip.EntryFullName(index));
            EXPECT_NE(calc, stored);
        };
    }

    void UseMemory(const std::vector<std::uint8_t>& bytes) {
        zip.SetArchiveStream(std::make_unique<TMemoryStream>(bytes));
    }

    void ExpectSameAsSource(const std::string& relative) {
        EXPECT_EQ(ReadBytes(out / relative), ReadBytes(SourceFile(relative))) << relative;
    }

    std::vector<std::string> skips;
    std::vector<std::string> badCrcs;
};

TEST_F(Extraction, EveryFileOfTheToolArchivesWithFoldersAndTimes) {
    for (const char* archive : {"deflated.zip", "stored.zip"}) {
        ScratchDir target;
        zip.SetZipName(ToolArchive(archive));
        zip.SetDestDir(target.Path());
        zip.SetDoAll(true);
        zip.SetRecreateDirs(true);
        zip.SetRetainAttributes(false);
        EXPECT_EQ(zip.Extract(), 10) << archive;
        for (const std::string& file : kFiles) {
            EXPECT_EQ(ReadBytes(target / file), ReadBytes(SourceFile(file))) << archive << " " << file;
            EXPECT_EQ(fs::last_write_time(target / file), fs::last_write_time(SourceFile(file))) << file;
        }
        EXPECT_TRUE(fs::is_directory(target / "sub/deep"));
    }
    EXPECT_TRUE(skips.empty());
    EXPECT_TRUE(badCrcs.empty());
}

TEST_F(Extraction, RelativeDestinationIsTakenFromTheCallersFolder) {
    ScratchDir base;
    const fs::path saved = fs::current_path();
    fs::current_path(base.Path());
    zip.SetZipName(ToolArchive("stored.zip"));
    zip.SetDestDir("unpacked");
    zip.SetFilesList({"*"});
    zip.SetRecreateDirs(true);
    const int extracted = zip.Extract();
    fs::current_path(saved);
    EXPECT_EQ(extracted, 10);
    EXPECT_EQ(ReadBytes(base / "unpacked/Tools/unit_sfx.pas"), ReadBytes(SourceFile("Tools/unit_sfx.pas")));
    EXPECT_FALSE(fs::exists(base / "unpacked/unpacked"));
}

TEST_F(Extraction, LegacyMethodsPassTheirChecksums) {
    const char* source = std::getenv("PELORIN_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    for (const char* name : {"sc-shrink.zip", "sc-reduce1.zip", "sc-reduce4.zip", "sc-implode.zip", "cc-SHRUNK.ZIP",
                             "cc-imploding-8Kdict-3trees.zip"}) {
        ScratchDir target;
        zip.SetZipName(JoinPath(JoinPath(source, "tests/fixtures/zip-legacy"), name));
        zip.SetDestDir(target.Path());
        zip.SetDoAll(true);
        zip.SetRecreateDirs(true);
        zip.ReadDirectory();
        const int entries = zip.EntryCount();
        EXPECT_GT(entries, 0) << name;
        EXPECT_EQ(zip.Extract(), entries) << name;
    }
    EXPECT_TRUE(badCrcs.empty());
}

TEST_F(Extraction, ArchiveBehindAProgramStub) {
    zip.SetZipName(ToolArchive("sfx.EXE"));
    zip.SetFilesList({"tools\\numbers.txt", "readme.txt"});
    EXPECT_EQ(zip.Extract(), 2);
    ExpectSameAsSource("readme.txt");
    EXPECT_EQ(ReadBytes(out / "numbers.txt"), ReadBytes(SourceFile("Tools/numbers.txt")));
}

TEST_F(Extraction, SelectionPatterns) {
    zip.SetZipName(ToolArchive("deflated.zip"));
    auto selected = [&](std::vector<std::string> patterns, bool recreate) {
        zip.SetFilesList(patterns);
        zip.SetRecreateDirs(recreate);
        int numFiles = -1;
        std::int64_t totalBytes = -1;
        zip.OnStartUnZipInfo = [&](TVCLUnZip&, int files, std::int64_t bytes, bool& stop) {
            numFiles = files;
            totalBytes = bytes;
            stop = true;
        };
        const int result = zip.Extract();
        EXPECT_EQ(result, numFiles);
        return std::make_pair(numFiles, totalBytes);
    };
    EXPECT_EQ(selected({}, false), std::make_pair(0, std::int64_t(0)));
    EXPECT_EQ(selected({"tools\\*.pas"}, false), std::make_pair(3, std::int64_t(69)));
    EXPECT_EQ(selected({"TOOLS\\UNIT_SFX.PAS"}, false), std::make_pair(1, std::int64_t(22)));
    EXPECT_EQ(selected({"tools\\unit_<a-c>*"}, false).first, 2);
    EXPECT_EQ(selected({"<!u>*"}, false).first, 7);
    EXPECT_EQ(selected({"nothing", "*"}, false).first, 7);
    EXPECT_EQ(selected({"*"}, true).first, 10);
    EXPECT_FALSE(testing::FileExists(out / "readme.txt"));  // StopNow held everything back

    zip.OnStartUnZipInfo = nullptr;
    zip.SetRecreateDirs(false);
    zip.SetFilesList({"tools\\unit_<!s>*"});
    EXPECT_EQ(zip.Extract(), 2);
    EXPECT_TRUE(testing::FileExists(out / "unit_build.pas"));
    EXPECT_TRUE(testing::FileExists(out / "unit_copy.pas"));
    EXPECT_FALSE(testing::FileExists(out / "unit_sfx.pas"));
}

TEST_F(Extraction, ExclusionsWinOverSelection) {
    zip.SetZipName(ToolArchive("deflated.zip"));
    zip.SetFilesList({"tools\\*"});
    zip.ExcludeList() = {"*.PAS", "nothing"};
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_TRUE(testing::FileExists(out / "numbers.txt"));
    EXPECT_FALSE(testing::FileExists(out / "unit_sfx.pas"));
}

TEST_F(Extraction, ToAStreamOneEntryAfterAnotherWithoutTouchingFiles) {
    test::BuiltEntry bad;
    bad.name = "bad.bin";
    bad.data = Bytes("damaged");
    bad.badCrc = true;
    UseMemory(ZipBuilder()
                  .Add("b.txt", "second\n")
                  .Add("sub/", "")
                  .Add("a.txt", std::string("first\r\n\x1a\0", 9))
                  .Add(bad)
                  .Add("sub/c.txt", "left out")
                  .Build());
    zip.SetFilesList({"*"});
    zip.ExcludeList() = {"sub\\*"};
    std::vector<std::string> ended;
    zip.OnEndUnZip = [&](TVCLUnZip&, int, const std::string& name) { ended.push_back(name); };
    TMemoryStream sink;
    EXPECT_EQ(zip.ExtractToStream(sink), 2);
    EXPECT_EQ(sink.Bytes(), Bytes(std::string("second\nfirst\r\n\x1a\0damaged", 23)));
    EXPECT_EQ(ended, (std::vector<std::string>{"b.txt", "a.txt"}));
    EXPECT_EQ(badCrcs, std::vector<std::string>{"bad.bin"});
    EXPECT_TRUE(fs::is_empty(out.Path()));
}

// A test reports what Extract would, names it refuses and retried passwords included, and
// leaves DestDir untouched.
TEST_F(Extraction, TestingReportsAsExtractAndWritesNothing) {
    test::BuiltEntry bad;
    bad.name = "bad.bin";
    bad.data = Bytes("damaged");
    bad.badCrc = true;
    UseMemory(ZipBuilder().Add("sub/", "").Add("sub/a.txt", "a").Add(bad).Add("Tools/a:b/x.txt", "refused").Build());
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    std::vector<std::string> ended;
    zip.OnEndUnZip = [&](TVCLUnZip&, int, const std::string& name) { ended.push_back(name); };
    EXPECT_EQ(zip.Test(), 2);
    EXPECT_EQ(ended, std::vector<std::string>{"sub\\a.txt"});
    EXPECT_EQ(badCrcs, std::vector<std::string>{"bad.bin"});
    EXPECT_EQ(skips, std::vector<std::string>{"2:Tools\\a:b\\x.txt"});

    zip.SetZipName(ToolArchive("crypt.zip"));
    zip.SetZipPassword("wrong");
    int asked = 0;
    zip.OnBadPassword = [&](TVCLUnZip&, int, std::string& password) {
        ++asked;
        password = "secret";
    };
    ended.clear();
    EXPECT_EQ(zip.Test(), 2);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ended.size(), 2u);
    EXPECT_TRUE(fs::is_empty(out.Path()));
}

TEST_F(Extraction, OverwriteRules) {
    UseMemory(ZipBuilder().Add("a.txt", "new a").Add("b.txt", "new b").Build());
    zip.SetDoAll(true);
    testing::WriteBytes(out / "a.txt", Bytes("old a"));

    zip.SetOverwriteMode(TUZOverwriteMode::Never);
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(ReadText(out / "a.txt"), "old a");
    EXPECT_EQ(skips, (std::vector<std::string>{"1:a.txt"}));

    // Prompt without a handler: the box, answered No then Yes.
    zip.SetOverwriteMode(TUZOverwriteMode::Prompt);
    os.answers = {TMsgResult::mrNo, TMsgResult::mrNo};
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(os.boxes.front(), "File Exists Alert|Replace existing file a.txt?");
    os.answers = {TMsgResult::mrYes, TMsgResult::mrYes};
    EXPECT_EQ(zip.Extract(), 2);
    EXPECT_EQ(ReadText(out / "a.txt"), "new a");

    // Prompt with a handler that writes one entry under another name.
    zip.OnPromptForOverwrite = [&](TVCLUnZip&, bool& overwrite, int index, std::string& name) {
        if (index == 1) name = out / "renamed.txt";
        overwrite = index == 1;
    };
    os.boxes.clear();
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(ReadText(out / "renamed.txt"), "new b");
    EXPECT_TRUE(os.boxes.empty());

    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    testing::WriteBytes(out / "a.txt", Bytes("old again"));
    EXPECT_EQ(zip.Extract(), 2);
    EXPECT_EQ(ReadText(out / "a.txt"), "new a");
}

TEST_F(Extraction, SkippedAtStartLeavesTheExistingFileAlone) {
    UseMemory(ZipBuilder().Add("a.txt", "new a").Build());
    zip.SetDoAll(true);
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    testing::WriteBytes(out / "a.txt", Bytes("keep me"));
    zip.OnStartUnZip = [](TVCLUnZip&, int, const std::string&, bool& skip) { skip = true; };
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(ReadText(out / "a.txt"), "keep me");
}

TEST_F(Extraction, EventsOfOneEntryInOrder) {
    UseMemory(ZipBuilder().Add("a.txt", "abc").Build());
    zip.SetDoAll(true);
    std::vector<std::string> events;
    zip.OnStartUnZipInfo = [&](TVCLUnZip&, int n, std::int64_t bytes, bool&) {
        events.push_back("info " + std::to_string(n) + " " + std::to_string(bytes));
    };
    zip.OnStartUnZip = [&](TVCLUnZip&, int i, const std::string& name, bool&) {
        events.push_back("start " + std::to_string(i) + " " + name.substr(name.find_last_of("\\/") + 1));
    };
    zip.OnFilePercentDone = [&](TVCLUnZip&, int p) { events.push_back("file " + std::to_string(p)); };
    zip.OnTotalPercentDone = [&](TVCLUnZip&, int p) { events.push_back("total " + std::to_string(p)); };
    zip.OnEndUnZip = [&](TVCLUnZip&, int i, const std::string&) { events.push_back("end " + std::to_string(i)); };
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"info 1 3", "start 0 a.txt", "file 100", "total 100", "end 0"}));
    EXPECT_EQ(zip.CurrentEntry().FileName(), "a.txt");
}

TEST_F(Extraction, PercentsRoundHalvesToEvenAndEndAt100) {
    test::BuiltEntry big;
    big.name = "big.bin";
    big.data.assign(128000, 7);
    UseMemory(ZipBuilder().Add(big).Build());
    zip.SetDoAll(true);
    std::vector<int> file;
    std::vector<int> total;
    zip.OnFilePercentDone = [&](TVCLUnZip&, int p) { file.push_back(p); };
    zip.OnTotalPercentDone = [&](TVCLUnZip&, int p) { total.push_back(p); };
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(file, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(total, file);

    file.clear();
    total.clear();
    zip.SetDoAll(false);
    zip.SetZipName(ToolArchive("deflated.zip"));
    zip.SetFilesList({"tools\\numbers.txt", "sub\\deep\\noise.bin"});
    EXPECT_EQ(zip.Extract(), 2);
    ASSERT_FALSE(total.empty());
    EXPECT_EQ(total.back(), 100);
    for (std::size_t i = 1; i < total.size(); ++i) EXPECT_LE(total[i - 1], total[i]);
    EXPECT_EQ(file.back(), 100);
}

// A damaged entry never costs the file it was meant to replace, and leaves no copy of its own.
TEST_F(Extraction, BadChecksumKeepsTheOldFileAndLeavesNoTemporaryFile) {
    test::BuiltEntry bad;
    bad.name = "bad.txt";
    bad.data = Bytes("damaged");
    bad.badCrc = true;
    test::BuiltEntry fresh = bad;
    fresh.name = "fresh.txt";
    UseMemory(ZipBuilder().Add("good.txt", "fine").Add(bad).Add(fresh).Build());
    zip.SetDoAll(true);
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    testing::WriteBytes(out / "bad.txt", Bytes("old bytes"));
    testing::WriteBytes(out / "good.txt", Bytes("old good"));
    std::uint32_t calc = 0;
    std::uint32_t stored = 0;
    std::vector<int> failed;
    zip.OnBadCRC = [&](TVCLUnZip&, std::uint32_t c, std::uint32_t s, int index) {
        calc = c;
        stored = s;
        failed.push_back(index);
    };
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(failed, (std::vector<int>{1, 2}));
    EXPECT_EQ(calc, test::TestCrc32(Bytes("damaged")));
    EXPECT_EQ(stored, calc ^ 1u);
    EXPECT_EQ(ReadText(out / "bad.txt"), "old bytes");
    EXPECT_EQ(ReadText(out / "good.txt"), "fine");
    EXPECT_EQ(testing::ListFolder(out.Path()), (std::vector<std::string>{"bad.txt", "good.txt"}));
}

// The temporary name of an entry is taken from its index; a file that already has that name,
// the user's own or an entry of the archive, is never overwritten by it.
TEST_F(Extraction, TemporaryNamesPassOverFilesThatHoldThem) {
    UseMemory(ZipBuilder().Add("~pz00001.tmp", "an entry").Add("second.txt", "2").Add("third.txt", "3").Build());
    zip.SetDoAll(true);
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    testing::WriteBytes(out / "~pz00002.tmp", Bytes("the user's"));
    EXPECT_EQ(zip.Extract(), 3);
    EXPECT_EQ(ReadText(out / "~pz00001.tmp"), "an entry");
    EXPECT_EQ(ReadText(out / "~pz00002.tmp"), "the user's");
    EXPECT_EQ(ReadText(out / "second.txt"), "2");
    EXPECT_EQ(ReadText(out / "third.txt"), "3");
    EXPECT_EQ(testing::ListFolder(out.Path()),
              (std::vector<std::string>{"second.txt", "third.txt", "~pz00001.tmp", "~pz00002.tmp"}));
}

TEST_F(Extraction, AlteredDeflatedDataFailsTheChecksum) {
    std::vector<std::uint8_t> bytes = ReadBytes(ToolArchive("flat.zip"));
    // readme.txt is deflated and comes first: alter a byte in its data.
    bytes[30 + 10 + 5] ^= 0x55;
    UseMemory(bytes);
    zip.SetFilesList({"readme.txt"});
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(badCrcs, (std::vector<std::string>{"readme.txt"}));
    EXPECT_FALSE(testing::FileExists(out / "readme.txt"));
}

TEST_F(Extraction, PasswordsOfZipAndSevenZip) {
    for (const char* archive : {"crypt.zip", "crypt7.zip"}) {
        ScratchDir target;
        zip.SetZipName(ToolArchive(archive));
        zip.SetDestDir(target.Path());
        zip.SetDoAll(true);
        zip.SetZipPassword("wrong");
        skips.clear();
        EXPECT_EQ(zip.Extract(), 0) << archive;
        std::sort(skips.begin(), skips.end());
        EXPECT_EQ(skips, (std::vector<std::string>{"0:Tools\\numbers.txt", "0:readme.txt"})) << archive;
        EXPECT_FALSE(testing::FileExists(target / "readme.txt"));

        int asked = 0;
        zip.OnBadPassword = [&](TVCLUnZip&, int, std::string& password) {
            ++asked;
            EXPECT_EQ(password, "wrong");
            password = "secret";
        };
        EXPECT_EQ(zip.Extract(), 2) << archive;
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(zip.ZipPassword(), "secret");
        EXPECT_EQ(ReadBytes(target / "readme.txt"), ReadBytes(SourceFile("readme.txt")));
        EXPECT_EQ(ReadBytes(target / "numbers.txt"), ReadBytes(SourceFile("Tools/numbers.txt")));
        zip.OnBadPassword = nullptr;
    }
}

TEST_F(Extraction, HandlerGivingTheSamePasswordSkips) {
    zip.SetZipName(ToolArchive("crypt.zip"));
    zip.SetFilesList({"readme.txt"});
    int asked = 0;
    zip.OnBadPassword = [&](TVCLUnZip&, int, std::string&) { ++asked; };
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(skips, (std::vector<std::string>{"0:readme.txt"}));
}

TEST_F(Extraction, UnknownMethodShowsTheBoxAndFails) {
    zip.SetZipName(ToolArchive("deflate64.zip"));
    zip.SetDoAll(true);
    EXPECT_EQ(zip.Extract(), 0);
    EXPECT_EQ(os.boxes, (std::vector<std::string>{"Zip Error|Unknown Compression Method"}));
    EXPECT_EQ(badCrcs, (std::vector<std::string>{"Tools\\numbers.txt"}));
    EXPECT_FALSE(testing::FileExists(out / "numbers.txt"));

    // With a stored CRC-32 of 0 the empty result passes.
    test::BuiltEntry empty;
    empty.name = "empty.dat";
    empty.method = 9;
    UseMemory(ZipBuilder().Add(empty).Build());
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_TRUE(testing::FileExists(out / "empty.dat"));
}

TEST_F(Extraction, SpannedArchiveAsksForEachDisk) {
    zip.SetZipName(ToolArchive("split.zip"));
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    zip.ReadDirectory();
    EXPECT_EQ(zip.SpanMode(), TSpanMode::SpanOtherDrives);
    EXPECT_EQ(zip.NumberOfDisks(), 4);
    ASSERT_EQ(zip.EntryCount(), 10);

    EXPECT_THROW(zip.Extract(), EUserCanceled);  // no handler: nobody to give the first disk

    std::vector<int> asked;
    zip.OnGetNextDisk = [&](TVCLUnZip&, int disk, std::string& name) {
        asked.push_back(disk);
        name = disk < 4 ? ToolArchive("split.z0" + std::to_string(disk)) : ToolArchive("split.zip");
    };
    zip.SetSortMode(TZipSortMode::ByName);
    EXPECT_EQ(zip.Extract(), 10);
    EXPECT_EQ(zip.SortMode(), TZipSortMode::ByName);
    for (const std::string& file : kFiles) ExpectSameAsSource(file);
    EXPECT_GE(asked.size(), 3u);
    EXPECT_EQ(asked.front(), 1);

    // A handler that keeps naming a missing file is taken as cancelling, not asked for ever.
    int calls = 0;
    zip.OnGetNextDisk = [&](TVCLUnZip&, int, std::string& name) {
        ++calls;
        name = ToolArchive("split.z09");
    };
    zip.SetZipName(ToolArchive("split.zip"));
    EXPECT_THROW(zip.Extract(), EUserCanceled);
    EXPECT_EQ(calls, 2);

    zip.OnGetNextDisk = [](TVCLUnZip&, int, std::string& name) { name.clear(); };
    try {
        zip.SetZipName(ToolArchive("split.zip"));
        zip.Extract();
        FAIL() << "an empty disk name was taken";
    } catch (const EUserCanceled& e) {
        EXPECT_STREQ(e.what(), "User canceled loading new disk.");
    }
}

TEST_F(Extraction, RootDirAndDrivePrefixesLandBelowDestDir) {
    UseMemory(ZipBuilder()
                  .Add("Program/bin/tool.exe", "tool")
                  .Add("C:/Windows/system.ini", "ini")
                  .Add("/etc/passwd", "root")
                  .Build());
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    zip.SetRootDir("program");
    EXPECT_EQ(zip.RootDir(), "program\\");
    EXPECT_EQ(zip.Extract(), 3);
    EXPECT_EQ(ReadText(out / "bin/tool.exe"), "tool");
    EXPECT_EQ(ReadText(out / "Windows/system.ini"), "ini");
    EXPECT_EQ(ReadText(out / "etc/passwd"), "root");
}

TEST_F(Extraction, DotDotNamesStayInsideDestDir) {
    ScratchDir root;
    const std::string dest = JoinPath(root.Path(), "out");
    zip.SetDestDir(dest + "\\");
    EXPECT_EQ(zip.DestDir(), dest);
    UseMemory(ZipBuilder()
                  .Add("../evil.txt", "1")
                  .Add("a/../../../evil2.txt", "2")
                  .Add("a/./b/../c.txt", "3")
                  .Add("x/..", "4")
                  .Build());
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    EXPECT_EQ(zip.Extract(), 3);
    EXPECT_EQ(skips, (std::vector<std::string>{"2:x\\.."}));
    EXPECT_EQ(ReadText(JoinPath(dest, "evil.txt")), "1");
    EXPECT_EQ(ReadText(JoinPath(dest, "a/evil2.txt")), "2");
    EXPECT_EQ(ReadText(JoinPath(dest, "a/b/c.txt")), "3");
    int outside = 0;
    for (const auto& item : fs::directory_iterator(root.Path())) outside += item.path().filename() != "out";
    EXPECT_EQ(outside, 0);

    zip.SetRecreateDirs(false);
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    EXPECT_EQ(zip.Extract(), 3);
}

// Names with a colon past a leading drive are refused, not renamed: on NTFS they would write an
// alternate data stream, and "C:name" a file in the drive's current folder.
TEST_F(Extraction, NamesWithAColonAreSkippedAsUnsafe) {
    UseMemory(ZipBuilder()
                  .Add("Delphi 3/C:evil-13.txt", "1")
                  .Add("Tools/a:b/x.txt", "2")
                  .Add("C:evil", "3")
                  .Add("C:/Delphi 3/kept.txt", "4")
                  .Build());
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(skips, (std::vector<std::string>{"2:Delphi 3\\C:evil-13.txt", "2:Tools\\a:b\\x.txt", "2:C:evil"}));
    EXPECT_EQ(ReadText(out / "Delphi 3/kept.txt"), "4");
    EXPECT_EQ(testing::ListFolder(out / "Delphi 3"), (std::vector<std::string>{"kept.txt"}));
    EXPECT_FALSE(testing::DirExists(out / "Tools"));
}

TEST_F(Extraction, ReadOnlyAttributeIsKeptOnRequest) {
    zip.SetZipName(ToolArchive("deflated.zip"));
    zip.SetFilesList({"tools\\unit_copy.pas", "readme.txt"});
    EXPECT_EQ(zip.Extract(), 2);
    const auto writable = [](const std::string& path) {
        return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
    };
    EXPECT_FALSE(writable(out / "unit_copy.pas"));
    EXPECT_TRUE(writable(out / "readme.txt"));

    ScratchDir plain;
    zip.SetDestDir(plain.Path());
    zip.SetRetainAttributes(false);
    EXPECT_EQ(zip.Extract(), 2);
    EXPECT_TRUE(writable(plain / "unit_copy.pas"));
}

TEST_F(Extraction, DestDirIsCreatedAndTheCurrentFolderRestored) {
    const std::string before = fs::current_path().string();
    const std::string nested = out / "one/two";
    zip.SetDestDir(nested);
    UseMemory(ZipBuilder().Add("a.txt", "A").Build());
    zip.SetDoAll(true);
    std::string during;
    zip.OnEndUnZip = [&](TVCLUnZip&, int, const std::string&) { during = fs::current_path().string(); };
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(fs::canonical(during), fs::canonical(nested));
    EXPECT_EQ(fs::current_path().string(), before);
    EXPECT_EQ(ReadText(JoinPath(nested, "a.txt")), "A");
}

TEST_F(Extraction, CancelRequestStopsAtTheNextRefillAndKeepsTheOldFile) {
    zip.SetZipName(ToolArchive("deflated.zip"));
    zip.SetFilesList({"tools\\numbers.txt"});
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    testing::WriteBytes(out / "numbers.txt", Bytes("old numbers"));
    zip.OnFilePercentDone = [&](TVCLUnZip& sender, int) { sender.SetCancelRequested(true); };
    const std::string before = fs::current_path().string();
    try {
        zip.Extract();
        FAIL() << "the cancel request was ignored";
    } catch (const EUserCanceled& e) {
        EXPECT_STREQ(e.what(), "User Aborted Operation");
    }
    EXPECT_FALSE(zip.CancelRequested());
    EXPECT_GT(os.messageRuns, 0);
    EXPECT_EQ(testing::ListFolder(out.Path()), (std::vector<std::string>{"numbers.txt"}));
    EXPECT_EQ(ReadText(out / "numbers.txt"), "old numbers");
    EXPECT_EQ(fs::current_path().string(), before);

    zip.OnFilePercentDone = nullptr;
    EXPECT_EQ(zip.Extract(), 1);  // each Extract starts with the request cleared
}

TEST_F(Extraction, ArchiveStreamIsOwnedAndCanBeTakenBack) {
    auto stream = std::make_unique<TMemoryStream>(ZipBuilder().Add("a.txt", "A").Build());
    TStream* const raw = stream.get();
    zip.SetArchiveStream(std::move(stream));
    EXPECT_TRUE(zip.KeepZipOpen());
    EXPECT_EQ(zip.ArchiveStream(), raw);
    zip.SetDoAll(true);
    zip.SetOverwriteMode(TUZOverwriteMode::Always);
    EXPECT_EQ(zip.Extract(), 1);
    EXPECT_EQ(zip.Extract(), 1);
    std::unique_ptr<TStream> back = zip.ReleaseArchiveStream();
    EXPECT_EQ(back.get(), raw);
    EXPECT_EQ(zip.ArchiveStream(), nullptr);
    EXPECT_EQ(zip.EntryCount(), 0);
}

}  // namespace
}  // namespace pelorin
