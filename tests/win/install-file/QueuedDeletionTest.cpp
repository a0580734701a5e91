// A file that a removal queued for deletion at the restart and that is installed again: the
// deletion is called off (other queued entries stay), the file is replaced without the
// existing-file checks, and its shared counter starts at one.
#include <gtest/gtest.h>

#include <windows.h>

#include "setup/install/FileRulesPending.h"
#include "tests/win/install-file/InstallFileFixture.h"

namespace pelorin::testing {
namespace {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

std::string PendingValue() {
    HKEY key = nullptr;
    std::string value;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        value.resize(size);
        ::RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(&value[0]),
                           &size);
    }
    ::RegCloseKey(key);
    return value;
}

class QueuedDeletion : public InstallFileFixture {
protected:
    void SetUp() override {
        InstallFileFixture::SetUp();
        before = PendingValue();
        other = root / "other.txt";
        WriteText(other, "other");
        ::CreateDirectoryA((root / "app").c_str(), nullptr);
        ::CreateDirectoryA((root / "app\\sub").c_str(), nullptr);
        WriteText(dest, "old, left by a removal");
        ASSERT_TRUE(::MoveFileExA(dest.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
        ASSERT_TRUE(::MoveFileExA(other.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
    }
    void TearDown() override {
        CancelQueuedDeletion(other);
        CancelQueuedDeletion(dest);
        DeleteSharedCounter(dest);
        EXPECT_EQ(PendingValue(), before);
    }
    std::string before, other;
};

TEST_F(QueuedDeletion, InstallingTheFileCallsOffItsDeletionAndCountsItAsNew) {
    EXPECT_TRUE(IsDeletionQueued(dest));
    Run(Add("new", EntryFor("{app}\\sub\\file.txt", FileEntry::SharedFile)));
    EXPECT_EQ(ReadText(dest), "new");
    EXPECT_TRUE(prompt.Questions.empty());
    EXPECT_FALSE(IsDeletionQueued(dest));
    EXPECT_TRUE(IsDeletionQueued(other));
    std::string bytes;
    EXPECT_EQ(ReadSharedCounter(dest, bytes), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, std::string("\1\0\0\0", 4));
}

}  // namespace
}  // namespace pelorin::testing
