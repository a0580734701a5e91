// PELORIN.DAT: each entry's data is "zel8" and one zlib stream that inflates to the
// source with the recorded size and Adler-32; stamps come from the source file.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "tests/core/pelorin-build/StoredFile.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/DataArchive.h"
#include "tools/pelorin-build/HostSystem.h"
#include "tools/pelorin-build/ProjectParser.h"

namespace pelorin {
namespace {

using testing::ScratchDir;

std::string pseudoRandom(std::size_t size) {
    std::string text(size, '\0');
    std::uint32_t state = 12345;
    for (char& c : text) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    return text;
}

TEST(DataArchiveTest, EntriesInflateToTheirSourcesAndSharedSourcesAreStoredOnce) {
    ScratchDir dir;
    const std::string big = pseudoRandom(300000);  // larger than the 32000-byte inflate buffers
    testing::WriteText(dir / "big.bin", big);
    testing::WriteText(dir / "empty.txt", "");
    testing::WriteText(dir / "small.txt", "small file\n");
    const std::string setup = "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\n";
    Project project = ParseProjectText(setup +
                                           "[File]\nSource=big.bin\nDestName=1\n"
                                           "[File]\nSource=empty.txt\nDestName=2\n"
                                           "[File]\nSource=./big.bin\nDestName=3\n"
                                           "[File]\nSource=small.txt\nDestName=4\n",
                                       "p", dir.Path());
    {
        std::ofstream out(dir / "PELORIN.DAT", std::ios::binary);
        WriteDataArchive(project, out);
    }
    const auto& files = project.setup.FileEntries;
    ASSERT_EQ(files.size(), 4u);
    const std::vector<std::string> expected = {big, "", big, "small file\n"};
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(files[i].UncompressedSize, expected[i].size());
        const auto data = testing::ReadStoredFile(dir / "PELORIN.DAT", files[i]);
        EXPECT_EQ(std::string(data.begin(), data.end()), expected[i]);
    }
    EXPECT_EQ(files[2].DataOffset, files[0].DataOffset);
    EXPECT_EQ(files[2].Adler32, files[0].Adler32);
    EXPECT_EQ(files[3].DataOffset, static_cast<std::int32_t>(files[1].DataOffset + 4 + files[1].CompressedSize));
    EXPECT_EQ(testing::ReadBytes(dir / "PELORIN.DAT").size(), files[3].DataOffset + 4 + files[3].CompressedSize);
    EXPECT_EQ(files[1].Adler32, 1u);
}

TEST(DataArchiveTest, TimeStampIsTheSourcesWriteTimeInFileTimeUnits) {
    EXPECT_EQ(FileTimeFromUnix(0, 0), 116444736000000000ull);
    EXPECT_EQ(FileTimeFromUnix(1, 999999999), 116444736019999999ull);

    ScratchDir dir;
    testing::WriteText(dir / "now.txt", "x");
    Project project = ParseProjectText(
        "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\n"
        "[File]\nSource=now.txt\nDestName=x\n",
        "p", dir.Path());
    std::ofstream out(dir / "PELORIN.DAT", std::ios::binary);
    WriteDataArchive(project, out);
    const std::uint64_t now = FileTimeFromUnix(std::time(nullptr), 0);
    const std::uint64_t stamp = project.setup.FileEntries[0].FileTime;
    const std::uint64_t tenMinutes = 600ull * 10000000ull;
    EXPECT_LT(stamp, now + tenMinutes);
    EXPECT_GT(stamp, now - tenMinutes);
    EXPECT_EQ(project.setup.FileEntries[0].VersionMS, FileEntry::NoVersion);
}

#ifdef PELORIN_VERSIONED_x86_64
TEST(DataArchiveTest, VersionComesFromTheSourcesVersionResource) {
    ScratchDir dir;
    // Under Windows the build tree's path has no drive; take the current one.
    const std::string exe = std::filesystem::absolute(PELORIN_VERSIONED_x86_64).string();
    Project project = ParseProjectText(
        "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\n"
        "[File]\nDestName=x\nSource=" +
            exe + "\n",
        "p", dir.Path());
    std::ofstream out(dir / "PELORIN.DAT", std::ios::binary);
    WriteDataArchive(project, out);
    EXPECT_EQ(project.setup.FileEntries[0].VersionMS, 0x00010002u);
    EXPECT_EQ(project.setup.FileEntries[0].VersionLS, 0x00030004u);
}
#endif

}  // namespace
}  // namespace pelorin
