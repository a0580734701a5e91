// The tools' scratch folder: a new folder each time, and nothing of it left behind, even
// when what was put there is read-only (as files extracted with their attributes can be).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/RemoveTree.h"
#include "core/ScratchFolder.h"

namespace pelorin {
namespace {

namespace fs = std::filesystem;

void MakeReadOnlyFile(const fs::path& path) {
    std::ofstream(path) << "data";
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(ScratchFolder, IsNewEachTimeAndGoesWithReadOnlyContents) {
    std::string kept;
    {
        const ScratchFolder first("pelorin-core-test");
        const ScratchFolder second("pelorin-core-test");
        kept = first.Path();
        ASSERT_TRUE(fs::is_directory(kept));
        EXPECT_NE(first.Path(), second.Path());
        fs::create_directories(fs::path(kept) / "sub" / "deeper");
        MakeReadOnlyFile(fs::path(kept) / "top.txt");
        MakeReadOnlyFile(fs::path(kept) / "sub" / "deeper" / "inner.txt");
    }
    EXPECT_FALSE(fs::exists(kept));
}

TEST(RemoveTree, TakesReadOnlyEntriesAndIsQuietOnAMissingPath) {
    const ScratchFolder scratch("pelorin-core-test");
    const fs::path tree = fs::path(scratch.Path()) / "tree";
    fs::create_directories(tree / "sub");
    MakeReadOnlyFile(tree / "sub" / "file.txt");
    RemoveTree(tree.string());
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(fs::is_directory(scratch.Path()));
    RemoveTree(tree.string());
}

}  // namespace
}  // namespace pelorin
