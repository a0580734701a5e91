// The uninstall entry's QuietUninstallString as deployment tools run it: pelorin.exe installs a
// package, the quiet command removes it without a single box, and drive C: and the registry are compared.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/roundtrip/BoxScript.h"
#include "tests/e2e/roundtrip/InstallSnapshot.h"
#include "tests/e2e/roundtrip/Product.h"
#include "tests/e2e/roundtrip/ProductLifeTest.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {
namespace {

class QuietUninstall : public ProductLifeTest {
protected:
    QuietUninstall() : ProductLifeTest("pelorin-quiet") {}
    void SetUp() override { PrepareForSnapshot(); }
    void TearDown() override {
        ForgetEarlierUninstaller();
        ::DeleteFileA(iniFile_.c_str());
    }

    // Installs the product, runs its quiet command with `extra` after it and returns the exit code;
    // any box fails the test.
    std::optional<DWORD> InstallAndRemoveQuietly(const Product& product, const std::string& extra) {
        Install(product, temp_.Path());
        const auto command = RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "UninstallString");
        const auto quiet = RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "QuietUninstallString");
        EXPECT_TRUE(command && quiet);
        if (!command || !quiet) return std::nullopt;
        EXPECT_EQ(*quiet, *command + " /S");
        RunningProgram ferrow(*quiet + extra, WindowsDir());
        for (const auto& box : AnswerBoxes(
                 ferrow, [](const driver::MessageBoxInfo&) { return std::string("No"); }, 60))
            ADD_FAILURE() << "FERROW.EXE showed \"" << box.caption << "\": " << box.text;
        return ferrow.waitForExit(30);
    }
    // What the removal left against the snapshot before the installation, without `allowed`.
    std::vector<std::string> Residue(const Snapshot& before, const std::vector<std::string>& allowed) {
        const SnapshotDiff diff = Compare(before, TakeSnapshot(skip_));
        std::vector<std::string> residue = Without(Without(diff.added, kWineChurn), allowed);
        for (const std::string& entry : Without(diff.changed, kWineChurn)) residue.push_back("changed " + entry);
        for (const std::string& entry : Without(diff.removed, kWineChurn)) residue.push_back("removed " + entry);
        return residue;
    }

    const std::string iniFile_ = WindowsDir() + "\\Quiet.ini";
};

// The uninstaller is the one shared file of the package; no program uses it any more, and
// unattended it is kept, so nothing waits for a restart. The INI file stays emptied of its section.
TEST_F(QuietUninstall, SilentCommandRemovesEverythingButTheUnusedSharedUninstaller) {
    const Product product = BuildProduct(work_, "Quiet");
    const Snapshot before = TakeSnapshot(skip_);
    EXPECT_EQ(InstallAndRemoveQuietly(product, ""), std::optional<DWORD>(0));
    EXPECT_EQ(RestartDeletions(), std::vector<std::string>{});
    EXPECT_TRUE(Exists(ferrow_));
    EXPECT_FALSE(RegNumber(HKEY_LOCAL_MACHINE, kSharedKey, ferrow_.c_str()).has_value());
    EXPECT_EQ(Residue(before, {"file " + ferrow_, "file " + iniFile_}), std::vector<std::string>{});
}

// With /REMOVESHARED the running uninstaller goes too, at the next restart: exit code 3010.
TEST_F(QuietUninstall, RemoveSharedSchedulesTheRunningUninstallerAndAsksForARestart) {
    const Product product = BuildProduct(work_, "Quiet");
    const Snapshot before = TakeSnapshot(skip_);
    EXPECT_EQ(InstallAndRemoveQuietly(product, " /REMOVESHARED"), std::optional<DWORD>(3010));
    EXPECT_EQ(RestartDeletions(), std::vector<std::string>{ferrow_});
    EXPECT_EQ(Residue(before, {"file " + iniFile_}), std::vector<std::string>{});
}

}  // namespace
}  // namespace pelorin::e2e
