// InstallFile over an existing destination: copy modes, the version and time comparison with the
// keep-question, the overwrite question and the read-only question with each answer.
#include <gtest/gtest.h>

#include "tests/win/install-file/InstallFileFixture.h"
#include "tests/win/testdlls/TestDlls.h"

namespace pelorin::testing {
namespace {

const char* const kKeepQuestion =
    "Existing file is newer than the one Setup Wizard is trying to install. It is recommended that you keep the existing file.\r\n\r\nDo you want to keep the existing file?";
const char* const kReadOnly =
    "The existing file is marked as read-only.\r\n\r\nClick Retry to remove the read-only setting and try again, Ignore to skip this file, or Abort to cancel installation.";

// versioned.dll carries the file version 1.2.3.4.
constexpr std::uint32_t kMS = 0x00010002, kLS = 0x00030004;

class InstallExisting : public InstallFileFixture {
protected:
    void SetUp() override {
        InstallFileFixture::SetUp();
        ::CreateDirectoryA((root / "app").c_str(), nullptr);
        ::CreateDirectoryA((root / "app\\sub").c_str(), nullptr);
        ASSERT_TRUE(CopyTestDll("versioned.dll", dest));
        original = ReadText(dest);
        existingTime = 0x01D0000020000000ull;
        SetLastWriteTime(dest, existingTime);
    }
    FileEntry Versioned(std::uint32_t ms, std::uint32_t ls, std::uint64_t time, std::uint8_t copyMode = cmNormal,
                        std::uint8_t flags = 0) {
        FileEntry entry = EntryFor("{app}\\sub\\file.txt", flags, copyMode);
        entry.VersionMS = ms;
        entry.VersionLS = ls;
        entry.FileTime = time;
        return Add("replacement", entry);
    }
    bool Replaced() const { return ReadText(dest) == "replacement"; }

    std::string original;
    std::uint64_t existingTime = 0;
};

TEST_F(InstallExisting, NeverReplaceKeepsTheFileWithoutAnyTest) {
    Run(Versioned(kMS + 1, 0, existingTime, cmNeverReplace, FileEntry::ConfirmOverwrite));
    EXPECT_FALSE(Replaced());
    EXPECT_TRUE(prompt.Questions.empty());
    EXPECT_TRUE(changes.Records().empty());
}

TEST_F(InstallExisting, HigherVersionReplacesAndRecordsThatItExisted) {
    Run(Versioned(kMS, kLS + 1, existingTime));
    EXPECT_TRUE(Replaced());
    EXPECT_TRUE(prompt.Questions.empty());
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].value, ufExisted);
}

TEST_F(InstallExisting, LowerVersionAsksToKeepYesKeepsNoReplaces) {
    prompt.Answers = {IDYES};
    Run(Versioned(kMS - 1, 0xFFFFFFFF, existingTime));
    EXPECT_FALSE(Replaced());
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Text, kKeepQuestion);
    EXPECT_EQ(prompt.Questions[0].Caption, dest);
    EXPECT_EQ(prompt.Questions[0].Kind, mbWarning);
    EXPECT_EQ(prompt.Questions[0].Buttons, UINT(MB_YESNO));
    prompt.Answers = {IDNO};
    Run(Versioned(kMS - 1, 0, existingTime));
    EXPECT_TRUE(Replaced());
}

TEST_F(InstallExisting, HalvesCompareAsSignedNumbers) {
    // 0x80000000 is below 1.2 when read as a signed number: the existing file counts as newer.
    Run(Versioned(0x80000000u, 0, existingTime, cmNoAskNewer));
    EXPECT_FALSE(Replaced());
}

TEST_F(InstallExisting, NewerKeptWithoutAskingInModeThree) {
    Run(Versioned(kMS - 1, 0, existingTime, cmNoAskNewer));
    Run(Versioned(kMS, kLS, existingTime - 1, cmNoAskNewer));
    EXPECT_FALSE(Replaced());
    EXPECT_TRUE(prompt.Questions.empty());
}

TEST_F(InstallExisting, SameVersionComparesTimes) {
    Run(Versioned(kMS, kLS, existingTime));  // same time: kept silently
    EXPECT_FALSE(Replaced());
    EXPECT_TRUE(prompt.Questions.empty());
    prompt.Answers = {IDYES};
    Run(Versioned(kMS, kLS, existingTime - 10));  // existing later: asked
    EXPECT_FALSE(Replaced());
    EXPECT_EQ(prompt.Questions.size(), 1u);
    Run(Versioned(kMS, kLS, existingTime + 10));  // existing earlier: replaced
    EXPECT_TRUE(Replaced());
    EXPECT_EQ(prompt.Questions.size(), 1u);
}

TEST_F(InstallExisting, SameVersionAndTimeStillRegistersAndCountsButWritesNoFileRecord) {
    ClearTestDllMark(dest);
    Run(Versioned(kMS, kLS, existingTime, cmNormal, FileEntry::RegisterServer | FileEntry::SharedFile));
    EXPECT_EQ(ReadText(dest), original);
    EXPECT_EQ(ReadTestDllMark(dest), "registered");
    std::string bytes;
    EXPECT_EQ(ReadSharedCounter(dest, bytes), DWORD(REG_DWORD));
    ASSERT_EQ(changes.Records().size(), 1u);
    EXPECT_EQ(changes.Records()[0].value, ufSharedCount | ufRegistered);
    DeleteSharedCounter(dest);
    ClearTestDllMark(dest);
}

TEST_F(InstallExisting, NoVersionOrModeTwoSkipsTheVersionTest) {
    Run(Versioned(FileEntry::NoVersion, 0, existingTime));
    EXPECT_TRUE(Replaced());
    ASSERT_TRUE(CopyTestDll("versioned.dll", dest));
    Run(Versioned(kMS - 1, 0, existingTime, cmAlwaysReplace));
    EXPECT_TRUE(Replaced());
    EXPECT_TRUE(prompt.Questions.empty());
}

TEST_F(InstallExisting, OverwriteQuestionDecides) {
    prompt.Answers = {IDNO};
    Run(Versioned(kMS + 1, 0, existingTime, cmNormal, FileEntry::ConfirmOverwrite));
    EXPECT_FALSE(Replaced());
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Text,
              dest + "\r\nThe file already exists.\r\n\r\nWould you like Setup Wizard to overwrite it?");
    EXPECT_EQ(prompt.Questions[0].Kind, mbConfirm);
    prompt.Answers = {IDYES};
    Run(Versioned(kMS + 1, 0, existingTime, cmNormal, FileEntry::ConfirmOverwrite));
    EXPECT_TRUE(Replaced());
}

TEST_F(InstallExisting, ReadOnlyAnswers) {
    ::SetFileAttributesA(dest.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    prompt.Answers = {IDIGNORE};
    Run(Versioned(kMS + 1, 0, existingTime));
    EXPECT_FALSE(Replaced());
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Text, kReadOnly);
    EXPECT_EQ(prompt.Questions[0].Buttons, UINT(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2));

    prompt.Answers = {IDABORT};
    EXPECT_THROW(Run(Versioned(kMS + 1, 0, existingTime)), EAbort);
    EXPECT_FALSE(Replaced());

    prompt.Answers = {IDRETRY};
    Run(Versioned(kMS + 1, 0, existingTime));
    EXPECT_TRUE(Replaced());
    EXPECT_EQ(prompt.Questions.size(), 3u);  // Retry cleared the flag and did not ask again
    EXPECT_EQ(SubListing(), "file.txt 11\n");
}

}  // namespace
}  // namespace pelorin::testing
