// Archives appended to a real program whose code holds the record signatures, read with
// ReadAppendedArchives: the shift from the central directory, bytes behind the archive, scans.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "ZipBuilder.h"
#include "core/LittleEndian.h"
#include "update/strings/MemoryStream.h"
#include "update/unzip/ProgramImage.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {
namespace {

using test::SourceFile;
using test::ToolArchive;
using testing::ReadBytes;

using Bytes = std::vector<std::uint8_t>;

Bytes Joined(Bytes front, const Bytes& back) {
    front.insert(front.end(), back.begin(), back.end());
    return front;
}

std::size_t Find(const Bytes& bytes, const std::string& text) {
    const auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
    return at == bytes.end() ? std::string::npos : static_cast<std::size_t>(at - bytes.begin());
}

// The central directory offset the end record of a plain archive without a comment states.
std::size_t StatedCentralOffset(const Bytes& archive) { return GetLE32(&archive[archive.size() - 22 + 16]); }

std::optional<std::uint64_t> ImageEnd(const Bytes& bytes) {
    TMemoryStream file(bytes);
    return ProgramImageEnd(file);
}

class Appended : public ::testing::Test {
protected:
    void SetUp() override {
        program = ReadBytes(test::DecoyProgram());
        ASSERT_FALSE(program.empty()) << test::DecoyProgram();
        // The decoys are really there: a whole local header of "fake.txt" and the other signatures.
        ASSERT_NE(Find(program, std::string("PK\3\4\x14\0\0\0\x08\0", 10)), std::string::npos);
        ASSERT_NE(Find(program, "fake.txt"), std::string::npos);
        ASSERT_NE(Find(program, "PK\1\2"), std::string::npos);
        ASSERT_NE(Find(program, "PK\5\6"), std::string::npos);
        deflated = ReadBytes(ToolArchive("deflated.zip"));
        ASSERT_FALSE(deflated.empty());
    }

    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = scratch / name;
        testing::WriteBytes(path, bytes);
        return path;
    }

    static void Open(TVCLUnZip& zip, const std::string& path) {
        zip.SetReadAppendedArchives(true);
        zip.SetZipName(path);
        zip.ReadDirectory();
    }

    Bytes program;
    Bytes deflated;
    testing::ScratchDir scratch;
};

TEST_F(Appended, CentralDirectoryIsFoundBehindTheProgram) {
    const std::string path = Write("update.exe", Joined(program, deflated));
    TVCLUnZip zip;
    Open(zip, path);
    EXPECT_FALSE(zip.DirectoryRebuilt());
    EXPECT_EQ(zip.LeadingBytes(), static_cast<std::int64_t>(program.size()));
    ASSERT_EQ(zip.EntryCount(), 10);
    EXPECT_EQ(zip.EntryFullName(9), "sub\\deep\\noise.bin");
    // Entries keep the offsets the archive states, as other tools list them.
    EXPECT_EQ(zip.Entry(0).LocalHeaderOffset, 0u);
    EXPECT_NE(zip.Entry(0).ExternalAttributes, 0u);  // from the central header

    // Off, as in the update wizard, the same file is read as before: by a scan from the start.
    // Turning it on reads the directory again.
    TVCLUnZip off;
    off.SetZipName(path);
    off.ReadDirectory();
    EXPECT_TRUE(off.DirectoryRebuilt());
    off.SetReadAppendedArchives(true);
    off.ReadDirectory();
    EXPECT_FALSE(off.DirectoryRebuilt());
    EXPECT_EQ(off.EntryCount(), 10);
}

TEST_F(Appended, CommentsAndEntriesAreReadThroughTheShiftWithBytesBehindTheArchive) {
    // Behind the archive, a stand-in for a signed program's certificate table holding an end
    // record of an empty archive: its central directory is nowhere, the real one is further back.
    Bytes tail(3000, 0x30);
    const std::string fakeEnd = std::string("PK\5\6", 4) + std::string(18, '\0');
    std::copy(fakeEnd.begin(), fakeEnd.end(), tail.begin() + 1000);
    const std::string path = Write("signed.EXE", Joined(Joined(program, ReadBytes(ToolArchive("comment.zip"))), tail));
    TVCLUnZip zip;
    Open(zip, path);
    ASSERT_EQ(zip.EntryCount(), 2);
    EXPECT_EQ(zip.LeadingBytes(), static_cast<std::int64_t>(program.size()));
    EXPECT_EQ(zip.ArchiveComment(), "The archive comment.");
    EXPECT_EQ(zip.EntryComment(0), "About the readme.");
    EXPECT_EQ(zip.EntryComment(1), "About the unit.");

    testing::ScratchDir out;
    zip.SetDestDir(out.Path());
    zip.SetDoAll(true);
    zip.SetRecreateDirs(true);
    EXPECT_EQ(zip.Extract(), 2);
    EXPECT_EQ(ReadBytes(out / "readme.txt"), ReadBytes(SourceFile("readme.txt")));
    EXPECT_EQ(ReadBytes(out / "Tools/unit_sfx.pas"), ReadBytes(SourceFile("Tools/unit_sfx.pas")));
}

TEST_F(Appended, ScanOfADamagedArchiveTakesNothingInTheProgram) {
    // The first central header loses its signature: the directory is neither where the end
    // record says nor shifted by the program, so the local headers are scanned.
    Bytes damaged = Joined(program, deflated);
    damaged[program.size() + StatedCentralOffset(deflated)] = 'X';
    Bytes withoutEnd = Joined(program, deflated);
    withoutEnd.resize(withoutEnd.size() - 22);
    for (const Bytes* bytes : {&damaged, &withoutEnd}) {
        for (const char* name : {"damaged.bin", "damaged.exe"}) {
            TVCLUnZip zip;
            zip.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
            Open(zip, Write(name, *bytes));
            ASSERT_EQ(zip.EntryCount(), 10) << name;
            EXPECT_EQ(zip.Entry(0).LocalHeaderOffset, program.size()) << name;
        }
    }

    // One entry, its central header damaged: nothing follows the entry to confirm it, but it
    // stands where the end record places the archive.
    const Bytes single = test::ZipBuilder().Add("only.txt", "the one entry").Build();
    Bytes damagedSingle = Joined(program, single);
    damagedSingle[program.size() + StatedCentralOffset(single)] = 'X';
    TVCLUnZip one;
    Open(one, Write("single.bin", damagedSingle));
    ASSERT_EQ(one.EntryCount(), 1);
    EXPECT_EQ(one.Entry(0).LocalHeaderOffset, program.size());

    TVCLUnZip zip;
    Open(zip, Write("damaged.bin", damaged));
    testing::ScratchDir out;
    zip.SetDestDir(out.Path());
    zip.SetFilesList({"*.txt", "*.bin"});
    zip.SetRecreateDirs(true);
    EXPECT_EQ(zip.Extract(), 4);
    for (const char* file : {"readme.txt", "Tools/numbers.txt", "sub/empty.txt", "sub/deep/noise.bin"}) {
        EXPECT_EQ(ReadBytes(out / file), ReadBytes(SourceFile(file))) << file;
    }

    // Off, the scan of the same file begins in the program and takes its signatures.
    TVCLUnZip off;
    off.SetZipName(Write("damaged.bin", damaged));
    off.ReadDirectory();
    ASSERT_GE(off.EntryCount(), 1);
    EXPECT_LT(off.Entry(0).LocalHeaderOffset, program.size());
}

TEST(ProgramImage, EndIsReadFromTheHeadersAlone) {
    const Bytes program = ReadBytes(test::DecoyProgram());
    ASSERT_FALSE(program.empty());
    const Bytes appended = Joined(program, Bytes(5000, 'z'));
#ifdef _WIN32
    // A MinGW program: the sections and the symbol table fill the file.
    EXPECT_EQ(ImageEnd(appended), program.size());
    const Bytes cut(program.begin(), program.end() - 100);
    EXPECT_EQ(ImageEnd(cut), std::nullopt);
#else
    EXPECT_EQ(ImageEnd(appended), std::nullopt);
#endif
    Bytes stub(200, 0);
    stub[0] = 'M';
    stub[1] = 'Z';
    EXPECT_EQ(ImageEnd(stub), std::nullopt);  // no "PE" header where it points
}

}  // namespace
}  // namespace pelorin
