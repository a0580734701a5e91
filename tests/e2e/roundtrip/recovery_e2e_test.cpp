// Killed installations: the real pelorin.exe is ended at points spread over every step, the
// machine is brought back by the next setup or by the uninstall entry, and compared with its
// picture from before. Nothing may differ.
#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>

#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/WizardWalk.h"
#include "tests/e2e/roundtrip/BoxScript.h"
#include "tests/e2e/roundtrip/InstallSnapshot.h"
#include "tests/e2e/roundtrip/Product.h"
#include "tests/e2e/roundtrip/ProductLifeTest.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {
namespace {

constexpr DWORD kKilled = 0xDEAD;  // the exit code of a process ended at a test kill point
const std::string kRecoveryBox =
    "The last installation of Kill Matrix did not finish. Setup Wizard will now undo the changes it made, and then "
    "go on.";

enum class Outcome { Killed, Completed, Failed };

class Recovery : public ProductLifeTest {
protected:
    Recovery() : ProductLifeTest("pelorin-recovery") {}
    void SetUp() override {
        PrepareForSnapshot();
        product_ = BuildProduct(work_, "Kill Matrix", 300 * 1024);
        ASSERT_FALSE(Exists(product_.appDir)) << "left by an earlier run: " << product_.appDir;
        before_ = TakeSnapshot(skip_);
    }

    // The setup through its wizard with PELORIN_TEST_KILL set to point.
    Outcome InstallUntil(const std::string& point) {
        const EnvOverride tmp("TMP", temp_.Path().c_str());
        const EnvOverride kill("PELORIN_TEST_KILL", point.c_str());
        RunningProgram setup(Quote(product_.dist + "\\pelorin.exe"), product_.dist);
        const std::string walked = WalkToInstall(setup.pid());
        if (!walked.empty()) {
            ADD_FAILURE() << point << ": " << walked;
            return Outcome::Failed;
        }
        for (int i = 0; i < 240; ++i) {
            if (const auto code = setup.waitForExit(0.25)) {
                if (*code == kKilled) return Outcome::Killed;
                ADD_FAILURE() << point << ": setup ended with " << *code;
                return Outcome::Failed;
            }
            if (WaitForPage(setup.pid(), "Setup successful", 0.01)) {
                EXPECT_EQ(FinishWizard(setup.pid()), "");
                EXPECT_EQ(setup.waitForExit(30), std::optional<DWORD>(0));
                return Outcome::Completed;
            }
        }
        ADD_FAILURE() << point << ": setup neither ended nor finished";
        return Outcome::Failed;
    }

    // The next start of the same setup: it tells the user, takes the installation back and
    // goes on to its wizard, which is then left.
    void RecoverBySetup(const std::string& point) {
        const EnvOverride tmp("TMP", temp_.Path().c_str());
        RunningProgram setup(Quote(product_.dist + "\\pelorin.exe"), product_.dist);
        const auto box = AnswerNextBox(setup.pid(), "OK", 30);
        ASSERT_TRUE(box.has_value()) << point << ": no recovery box";
        EXPECT_EQ(box->caption, "Information") << point;
        EXPECT_EQ(box->text, kRecoveryBox) << point;
        EXPECT_EQ(PressOnPage(setup.pid(), "Welcome", "Cancel"), "") << point;
        const auto boxes = AnswerBoxesUntilExit(setup, "Yes");
        ASSERT_EQ(boxes.size(), 1u) << point;
        EXPECT_EQ(boxes[0].caption, "Exit Setup Wizard") << point << ": " << boxes[0].text;
    }

    // The stale uninstall entry: FERROW.EXE replays the journal (or, once the log is written,
    // the log, asking about the shared uninstaller), and its own file waits for the restart,
    // which is then carried out.
    void RecoverByUninstallEntry(const std::string& point) {
        const std::vector<driver::MessageBoxInfo> boxes = Uninstall(product_, 3010);
        ASSERT_GE(boxes.size(), 2u) << point;
        EXPECT_EQ(boxes[0].text, "Are you sure you want to completely remove Kill Matrix and all of its components?");
        EXPECT_EQ(boxes.back().icon, "information") << point << ": " << boxes.back().text;
        EXPECT_EQ(RestartDeletions(), std::vector<std::string>{ferrow_}) << point;
    }

    // allowed: what the uninstaller's own rules leave (an INI file emptied of its section).
    void ExpectAsBefore(const std::string& point, const std::vector<std::string>& allowed = {}) {
        const Snapshot after = TakeSnapshot(skip_);
        const SnapshotDiff diff = Compare(before_, after);
        for (const std::string& entry : Without(Without(diff.added, kWineChurn), allowed))
            ADD_FAILURE() << point << ": left " << entry << " = " << after.at(entry);
        for (const std::string& entry : Without(diff.changed, kWineChurn))
            ADD_FAILURE() << point << ": changed " << entry << " = " << after.at(entry);
        for (const std::string& entry : Without(diff.removed, kWineChurn))
            ADD_FAILURE() << point << ": removed " << entry;
    }

    // Kills at point, recovers and compares; false once the point lies beyond the installation,
    // which has then completed and been removed again.
    bool KillAndRecover(const std::string& point, bool byUninstallEntry) {
        const Outcome run = InstallUntil(point);
        if (run == Outcome::Failed) return false;
        if (run == Outcome::Completed) {
            Uninstall(product_, 3010);
            RestartDeletions();
            ExpectAsBefore(point + " (completed, then uninstalled)", {iniLeft_});
            ::DeleteFileA(iniFile_.c_str());
            return false;
        }
        ++kills_;
        // The uninstall entry works once the uninstaller it names is on disk.
        const bool entryUsable =
            Exists(ferrow_) && RegString(HKEY_LOCAL_MACHINE, product_.uninstallKey(), "UninstallString").has_value();
        // Once REMOVE.LOG is written the entry uninstalls by it, under the uninstaller's rules.
        const bool logWritten = point == "done";
        if (byUninstallEntry && entryUsable) {
            RecoverByUninstallEntry(point);
            ++byEntry_;
        } else {
            RecoverBySetup(point);
        }
        ExpectAsBefore(
            point, byUninstallEntry && logWritten ? std::vector<std::string>{iniLeft_} : std::vector<std::string>{});
        ::DeleteFileA(iniFile_.c_str());
        return true;
    }

    Product product_;
    Snapshot before_;
    const std::string iniFile_ = WindowsDir() + "\\Kill Matrix.ini";
    const std::string iniLeft_ = "file " + iniFile_;
    int kills_ = 0;
    int byEntry_ = 0;
};

TEST_F(Recovery, EveryKillPointIsTakenBackWithoutResidue) {
    // Before each journal record, that is before each change of every step: folders, the
    // uninstall entry, files, counters, the group and its items, INI and registry entries and
    // the undo log. Every other point recovers through the uninstall entry where it can.
    int record = 1;
    while (KillAndRecover("record:" + std::to_string(record), record % 2 == 0)) ++record;
    // Inside each file's data, and around the writing of REMOVE.LOG.
    int file = 1;
    while (KillAndRecover("write:" + std::to_string(file), file % 2 == 1)) ++file;
    EXPECT_TRUE(KillAndRecover("log", false));
    EXPECT_TRUE(KillAndRecover("done", false));
    EXPECT_TRUE(KillAndRecover("done", true));
    std::cout << kills_ << " kill points (" << record - 1 << " records, " << file - 1 << " files), " << byEntry_
              << " recovered through the uninstall entry\n";
    EXPECT_GE(record - 1, 15);
    EXPECT_GE(file - 1, 3);

    // After a recovery, a complete installation removes without residue too.
    EXPECT_EQ(InstallUntil("never"), Outcome::Completed);
    EXPECT_TRUE(Exists(product_.appDir + "\\REMOVE.LOG"));
    EXPECT_FALSE(Exists(WindowsDir() + "\\PELORIN-*.JNL"));
    Uninstall(product_, 3010);
    EXPECT_EQ(RestartDeletions(), std::vector<std::string>{ferrow_});
    ExpectAsBefore("complete installation after the recoveries", {iniLeft_});
    ::DeleteFileA(iniFile_.c_str());
}

}  // namespace
}  // namespace pelorin::e2e
