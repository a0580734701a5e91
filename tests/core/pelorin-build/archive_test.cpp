// PELORIN.DAT: each entry's data is "zel8" and one zlib stream that inflates to the
// source with the recorded size and Adler-32; stamps come from the source file.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>

#include "tests/core/pelorin-build/StoredFile.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tools/pelorin-build/BuildError.h"
#include "tools/pelorin-build/Compressor.h"
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

// Each level writes streams that inflate to the sources; the archive, compressed a few files
// ahead on several threads, is the same bytes every time and keeps its entries' order.
TEST(DataArchiveTest, EveryCompressionLevelInflatesAndTheArchiveIsTheSameEveryTime) {
    ScratchDir dir;
    std::string project = "[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\nCompression=LEVEL\n";
    std::vector<std::string> sources;
    for (int i = 0; i < 24; ++i) {
        sources.push_back(pseudoRandom(1000 + i * 700) + std::string(20000, static_cast<char>('a' + i)));
        testing::WriteText(dir / ("f" + std::to_string(i)), sources.back());
        project += "[File]\nSource=f" + std::to_string(i) + "\nDestName=" + std::to_string(i) + "\n";
    }
    std::vector<std::string> levels = {"fast", "normal"};
    if (MaxCompressionAvailable()) levels.push_back("max");
    std::map<std::string, std::size_t> sizes;
    for (const std::string& level : levels) {
        SCOPED_TRACE(level);
        std::vector<std::vector<std::uint8_t>> archives;
        for (int round = 0; round < 2; ++round) {
            std::string text = project;
            text.replace(text.find("LEVEL"), 5, level);
            Project parsed = ParseProjectText(text, "p", dir.Path());
            {
                std::ofstream out(dir / "PELORIN.DAT", std::ios::binary);
                WriteDataArchive(parsed, out);
            }
            for (std::size_t i = 0; i < sources.size(); ++i) {
                const auto data = testing::ReadStoredFile(dir / "PELORIN.DAT", parsed.setup.FileEntries[i]);
                ASSERT_EQ(std::string(data.begin(), data.end()), sources[i]) << i;
                if (i > 0) {
                    EXPECT_GT(parsed.setup.FileEntries[i].DataOffset, parsed.setup.FileEntries[i - 1].DataOffset);
                }
            }
            archives.push_back(testing::ReadBytes(dir / "PELORIN.DAT"));
        }
        EXPECT_EQ(archives[0], archives[1]);
        sizes[level] = archives[0].size();
    }
    EXPECT_LT(sizes["normal"], sizes["fast"]);
    if (MaxCompressionAvailable()) {
        EXPECT_LT(sizes["max"], sizes["normal"]);
    }
    EXPECT_THROW(
        ParseProjectText("[Setup]\nAppName=a\nAppVerName=b\nDefaultDirName=c\nCompression=best\n", "p", dir.Path()),
        BuildError);
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
