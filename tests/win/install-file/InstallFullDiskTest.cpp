// InstallFile onto a drive that fills up: the copy box names the full disk, Abort leaves nothing
// behind and Retry succeeds once space is free. Drive E: is a 2 MB tmpfs mounted by small-drive.sh.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/WriteResult.h"
#include "setup/CmnFunc.h"
#include "setup/install/FileRulesRestart.h"
#include "tests/win/install-file/InstallFileFixture.h"

namespace pelorin::testing {
namespace {

const char* const kSkipHint =
    "Click Retry to try again, Ignore to skip this file (not recommended), or Abort to cancel installation.";
const char* const kFolder = "E:\\pelorin-full";

// Bytes that do not compress, so the archive stays small only on the source drive.
std::string Noise(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    return bytes;
}

std::uint64_t FreeBytes(const std::string& root) {
    ULARGE_INTEGER free{};
    return ::GetDiskFreeSpaceExA(root.c_str(), &free, nullptr, nullptr) ? free.QuadPart : 0;
}

class InstallFullDisk : public InstallFileFixture {
protected:
    void SetUp() override {
        InstallFileFixture::SetUp();
        if (!SmallDriveMounted())
            GTEST_SKIP() << "no small drive E: (small-drive.sh mounts one only when it runs as root)";
        RemoveTree(kFolder);
        ::CreateDirectoryA(kFolder, nullptr);
        target = std::string(kFolder) + "\\big.bin";
    }
    void TearDown() override { RemoveTree(kFolder); }

    std::string FullDiskQuestion() const {
        return std::string("An error occured while trying to copy a file.\r\n\r\n") + SysErrorMessage(ERROR_DISK_FULL) +
               "\r\n\n\n" + kSkipHint;
    }

    std::string target;
};

TEST_F(InstallFullDisk, AbortNamesTheFullDiskAndLeavesNoTrace) {
    const std::uint64_t freeBefore = FreeBytes("E:\\");
    const FileEntry entry = Add(Noise(3u << 20, 1), EntryFor(target));
    prompt.Answers = {IDABORT};
    archive.Write();
    EXPECT_THROW(InstallFile(entry, context), EAbort);
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Text, FullDiskQuestion());
    EXPECT_EQ(prompt.Questions[0].Caption, target);
    EXPECT_EQ(TreeListing(kFolder), "");
    EXPECT_EQ(FreeBytes("E:\\"), freeBefore);
    EXPECT_TRUE(changes.Records().empty());
}

TEST_F(InstallFullDisk, RetryInstallsOnceSpaceIsFree) {
    const std::string filler = std::string(kFolder) + "\\filler.bin";
    const std::string fill = Noise(1200u << 10, 2);
    WriteBytes(filler, std::vector<std::uint8_t>(fill.begin(), fill.end()));
    const std::string data = Noise(1u << 20, 3);
    const FileEntry entry = Add(data, EntryFor(target));
    // The user frees the space while the box is open.
    struct FreeingPrompt : ScriptedInstallPrompt {
        std::string filler;
        int MsgBox(const std::string& t, const std::string& c, MsgBoxKind k, UINT b) override {
            ::DeleteFileA(filler.c_str());
            return ScriptedInstallPrompt::MsgBox(t, c, k, b);
        }
    } freeing;
    freeing.filler = filler;
    freeing.Answers = {IDRETRY};
    TInstallContext freeingContext{progress, freeing, changes, "", root / "src"};
    archive.Write();
    InstallFile(entry, freeingContext);
    ASSERT_EQ(freeing.Questions.size(), 1u);
    EXPECT_EQ(freeing.Questions[0].Text, FullDiskQuestion());
    EXPECT_TRUE(ReadBytes(target) == std::vector<std::uint8_t>(data.begin(), data.end()));
    EXPECT_EQ(TreeListing(kFolder), "big.bin 1048576\n");
    EXPECT_EQ(progress.Pos, entry.CompressedSize);
}

TEST_F(InstallFullDisk, WininitOnAFullDriveNamesTheFullDiskAndKeepsTheOldFile) {
    const std::string ini = std::string(kFolder) + "\\WININIT.INI";
    const std::string old = "[rename]\r\nNUL=C:\\OLD.TMP\r\n";
    WriteText(ini, old);
    FillDrive(std::string(kFolder) + "\\filler.bin");
    try {
        AddWininitRename(kFolder, "X=Y");
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write " + ini + "; code 112.\r\n\r\n" + SysErrorMessage(ERROR_DISK_FULL));
    }
    EXPECT_EQ(ReadText(ini), old);
}

// Without a small drive the translation of the write results still holds: a short count is a
// full disk whatever error was left set before, and a failure keeps its own error.
TEST(WriteFileError, AShortCountIsAFullDisk) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(WriteFileError(TRUE, 10, 20), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(WriteFileError(TRUE, 20, 20), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(WriteFileError(FALSE, 0, 20), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ::SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WriteFileError(FALSE, 0, 20), static_cast<DWORD>(ERROR_WRITE_FAULT));
}

}  // namespace
}  // namespace pelorin::testing
