// The byte sources and whole-file helpers of core/: bytes come back exactly as written (no
// line-end translation), lines split at LF or CR LF, and missing files are reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/ByteSource.h"

namespace pelorin {
namespace {

// A scratch file in the working directory, removed when the test ends.
struct ScratchFile {
    std::string path;
    explicit ScratchFile(const char* name) : path(name) { std::remove(path.c_str()); }
    ~ScratchFile() { std::remove(path.c_str()); }
};

TEST(ByteSource, FilesKeepEveryByteAndReadInPieces) {
    const ScratchFile file("core_bytes_roundtrip.tmp");
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += static_cast<char>(i % 7 == 0 ? '\n' : i % 5 == 0 ? '\r' : i % 251);
    ASSERT_TRUE(WriteFileBytes(file.path, bytes));

    std::string back;
    ASSERT_TRUE(ReadFileBytes(file.path, back));
    EXPECT_EQ(back, bytes);

    FileByteSource source(file.path);
    ASSERT_TRUE(source.IsOpen());
    std::vector<char> piece(30000);
    EXPECT_EQ(source.Read(piece.data(), piece.size()), 30000u);
    EXPECT_EQ(source.Read(piece.data(), piece.size()), 10000u);
    EXPECT_EQ(std::string(piece.data(), 10000), bytes.substr(30000));
    EXPECT_EQ(source.Read(piece.data(), piece.size()), 0u);
    EXPECT_FALSE(source.Failed());

    ASSERT_TRUE(WriteFileBytes(file.path, "short"));
    ASSERT_TRUE(ReadFileBytes(file.path, back));
    EXPECT_EQ(back, "short") << "a rewrite replaces the whole file";
}

TEST(ByteSource, MemoryCountsDownAndMissingFilesAreReported) {
    const char data[] = "abcdef";
    MemoryByteSource memory(data, 6);
    char out[8] = {};
    EXPECT_EQ(memory.Read(out, 4), 4u);
    EXPECT_EQ(memory.Read(out + 4, 4), 2u);
    EXPECT_EQ(memory.Read(out, 4), 0u);
    EXPECT_EQ(std::string(out), "abcdef");

    std::string bytes = "kept";
    std::vector<std::string> lines{"kept"};
    EXPECT_FALSE(FileByteSource("core_bytes_missing.tmp").IsOpen());
    EXPECT_FALSE(ReadFileBytes("core_bytes_missing.tmp", bytes));
    EXPECT_FALSE(ReadTextLines("core_bytes_missing.tmp", lines));
    EXPECT_FALSE(WriteFileBytes("core_no_such_folder/x.tmp", "x"));
}

TEST(ReadTextLines, SplitsAtEitherLineEndAndKeepsALastLineWithoutOne) {
    const ScratchFile file("core_bytes_lines.tmp");
    ASSERT_TRUE(WriteFileBytes(file.path, "[rename]\r\nNUL=C:\\A.TMP\n\r\n\nlast\r"));
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(file.path, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"[rename]", "NUL=C:\\A.TMP", "", "", "last"}));

    ASSERT_TRUE(WriteFileBytes(file.path, ""));
    lines.clear();
    ASSERT_TRUE(ReadTextLines(file.path, lines));
    EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace pelorin
