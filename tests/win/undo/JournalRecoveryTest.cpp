// The recovery journal on disk: a journal left by a killed installation is found by its
// application and by its log path, replayed and removed; a running setup's journal is left alone.
#include <gtest/gtest.h>

#include "setup/install/JournalFile.h"
#include "setup/install/JournalRecovery.h"
#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {
namespace {

class JournalRecovery : public ::testing::Test {
protected:
    // What an installation killed after these changes leaves: the journal, still open while
    // `journal` lives, and the changes themselves.
    void Install(TJournalFile& journal) {
        journal.Open(JournalPathFor(dir.Path(), "Sample App"), "Sample App", log, 0);
        journal.Append(ukDirectory, {app}, 0);
        ::CreateDirectoryA(app.c_str(), nullptr);
        journal.Append(ukFile, {app + "\\a.txt", ""}, 0);
        WriteText(app + "\\a.txt", "data");
        journal.Append(ukFile, {ini, ""}, ufIfBlank);
        journal.Append(ukIniSection, {ini, "Sample"}, 0);
        ::WritePrivateProfileStringA("Sample", "Path", app.c_str(), ini.c_str());
        journal.Append(ukFile, {kept, ""}, ufIfBlank);  // an INI file with more than ours stays
        journal.Append(ukIniSection, {kept, "Sample"}, 0);
        ::WritePrivateProfileStringA("Sample", "Path", app.c_str(), kept.c_str());
        ::WritePrivateProfileStringA("Other", "Key", "value", kept.c_str());
    }

    ScratchDir dir;
    const std::string app = dir / "Sample";
    const std::string log = app + "\\REMOVE.LOG";
    const std::string ini = dir / "sample.ini";
    const std::string kept = dir / "shared.ini";
};

TEST_F(JournalRecovery, AKilledInstallationIsFoundReplayedAndItsJournalRemoved) {
    {
        TJournalFile journal;
        Install(journal);
    }  // the process ends without Discard
    EXPECT_FALSE(FindJournalOfApp(dir.Path(), "Other App").has_value());
    EXPECT_FALSE(FindJournalOfLog(dir.Path(), dir / "Other\\REMOVE.LOG").has_value());
    ASSERT_TRUE(FindJournalOfLog(dir.Path(), log).has_value());
    const std::optional<FoundJournal> found = FindJournalOfApp(dir.Path(), "SAMPLE APP");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->Journal.Changes.Records().size(), 6u);

    ScriptedPrompt prompt;
    UndoOptions options;
    options.Prompt = &prompt;
    EXPECT_TRUE(RecoverJournal(*found, options));
    EXPECT_FALSE(DirExists(app));
    EXPECT_FALSE(FileExists(ini));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_FALSE(FileExists(found->Path));
    EXPECT_FALSE(FindJournalOfApp(dir.Path(), "Sample App").has_value());
}

TEST_F(JournalRecovery, ARunningSetupsJournalIsLeftAlone) {
    TJournalFile journal;
    Install(journal);
    EXPECT_FALSE(FindJournalOfApp(dir.Path(), "Sample App").has_value());
    EXPECT_FALSE(FindJournalOfLog(dir.Path(), log).has_value());
    journal.Discard();  // the installation completed
    EXPECT_FALSE(FileExists(JournalPathFor(dir.Path(), "Sample App")));
    EXPECT_TRUE(DirExists(app));
}

}  // namespace
}  // namespace pelorin::testing
