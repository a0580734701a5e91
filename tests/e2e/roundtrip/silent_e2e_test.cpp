// Unattended runs of the real pelorin.exe and FERROW.EXE as a deployment tool makes them: no
// person, switches on the command line, every outcome told apart by the exit code, and a log.
#include <windows.h>

#include <gtest/gtest.h>

#include "setup/ExitCodes.h"
#include "tests/e2e/driver/Driver.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/roundtrip/InstallSnapshot.h"
#include "tests/e2e/roundtrip/Product.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {
namespace {

constexpr DWORD kSuccess = kExitSuccess;
constexpr DWORD kRestartRequired = kExitRestartRequired;
constexpr DWORD kCancelled = kExitCancelled;
constexpr DWORD kFailed = kExitFailed;
constexpr DWORD kRefusedPlatform = kExitPlatformRefused;
constexpr DWORD kInvalidArguments = kExitInvalidArguments;

class Unattended : public ::testing::Test {
protected:
    // No uninstaller of an earlier run: the shared FERROW.EXE then comes and goes with each product.
    void SetUp() override { ForgetEarlierUninstaller(); }

    // Runs the product's setup program with the switches; any window it shows fails the test
    // (with /SILENT the background and the progress window are expected, and not counted).
    DWORD RunSetup(const Product& product, const std::string& switches, bool windowsExpected = false) {
        const EnvOverride tmp("TMP", temp_.Path().c_str());
        RunningProgram setup(Quote(product.dist + "\\pelorin.exe") + " " + switches, product.dist);
        std::optional<DWORD> code;
        const bool ended = driver::PollUntil(120, [&] {
            if (!windowsExpected)
                for (const auto& window : driver::FindWindows({setup.pid(), "", "", true}))
                    ADD_FAILURE() << "a window showed: \"" << window.caption << "\" (" << window.className << ")";
            code = setup.waitForExit(0);
            return code.has_value();
        });
        EXPECT_TRUE(ended) << "setup " << switches << " did not end";
        return code.value_or(~0u);
    }

    std::string Log() const { return Text(ReadBytes(log_)); }
    std::string LogSwitch() const { return Quote("/LOG=" + log_); }

    // A product of its own with extra [Setup] lines: one file, or files of noise in the number given.
    Product Variant(const std::string& name, const std::string& setupLines, int noiseFiles = 0) {
        RemoveLeftovers(name);
        Product product;
        product.name = name;
        product.appDir = ProgramFilesDir() + "\\" + name;
        const std::string folder = work_ / name;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        WriteBytes(folder + "\\app.exe", Bytes("the application of " + name));
        std::string files = "[File]\r\nSource = app.exe\r\nDestName = {app}\\app.exe\r\n";
        std::uint32_t noise = 2463534242u;
        for (int i = 0; i < noiseFiles; ++i) {
            std::vector<std::uint8_t> data(64 * 1024);
            for (auto& byte : data) {
                noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
                byte = static_cast<std::uint8_t>(noise);
            }
            const std::string file = "n" + std::to_string(i) + ".bin";
            WriteBytes(folder + "\\" + file, data);
            files += "[File]\r\nSource = " + file + "\r\nDestName = {app}\\" + file + "\r\n";
        }
        WriteBytes(folder + "\\p.pelproj", Bytes("[Setup]\r\nAppName = " + name + "\r\nAppVerName = " + name +
                                                 " 1.0\r\nDefaultDirName = " + name + "\r\nDefaultGroupName = " + name +
                                                 "\r\nCreateUninstall = yes\r\n" + setupLines + files));
        product.dist = folder + "\\dist";
        const ToolResult built = RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(folder + "\\p.pelproj") +
                                         " -o " + Quote(product.dist));
        EXPECT_EQ(built.exitCode, 0u) << built.output;
        return product;
    }

    // What a failed earlier run left of a product: its entries and its folder.
    static void RemoveLeftovers(const std::string& name) {
        for (int n = 1; n <= 3; ++n) {
            const std::string key = std::string(kUninstallKey) + "\\" + name + " 1.0_is" + std::to_string(n);
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());  // values only, no subkeys
        }
        const std::string folder = ProgramFilesDir() + "\\" + name;
        if (Exists(folder)) RemoveTree(folder);
    }

    // Nothing of the product on the machine: no folder, no uninstall entry.
    void ExpectNothingInstalled(const Product& product) {
        EXPECT_FALSE(Exists(product.appDir)) << product.appDir;
        EXPECT_FALSE(RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "UninstallString"));
    }

    ScratchDir work_{"pelorin-silent"};
    ScratchDir temp_{"pelorin-silent-tmp"};
    const std::string log_ = work_ / "run.log";
};

// A very silent installation into a folder and group of the command line, then the quiet
// uninstall command of its entry: no window at all, exit codes 0, and the machine as before.
TEST_F(Unattended, VerySilentInstallAndQuietRemovalLeaveNothing) {
    PrepareForSnapshot();
    RemoveLeftovers("Silent Product");
    const Product product = BuildProduct(work_, "Silent Product");
    const std::string folder = "C:\\Silent Target\\Product";
    const std::vector<std::string> skip = {LongPath(work_.Path()), LongPath(temp_.Path())};
    const Snapshot before = TakeSnapshot(skip);

    EXPECT_EQ(
        RunSetup(product, "/VERYSILENT /NORESTART \"/DIR=" + folder + "\" /GROUP=\"Silent Group\" " + LogSwitch()),
        kSuccess);
    EXPECT_EQ(Text(ReadBytes(folder + "\\app.exe")), "the application of Silent Product");
    EXPECT_FALSE(Exists(product.appDir)) << "the default folder was used";
    const std::string log = Log();
    for (const std::string& line : std::vector<std::string>{
             "mode: very silent, no restart", "package: Silent Product 1.0",
             "destination folder " + folder + ", program group Silent Group", "folder " + folder + "\\Docs created",
             "file " + folder + "\\app.exe installed",
             "registry value \"Path\" written in HKEY_CURRENT_USER\\Software\\Pelorin Silent Product\\Settings",
             "installation completed", "exit code 0: success"})
        EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;

    const auto quiet = RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "QuietUninstallString");
    ASSERT_TRUE(quiet);
    EXPECT_EQ(*quiet, *RegString(HKEY_LOCAL_MACHINE, product.uninstallKey(), "UninstallString") + " /S");
    {
        RunningProgram ferrow(*quiet, WindowsDir());
        std::optional<DWORD> code;
        driver::PollUntil(120, [&] {
            for (const auto& window : driver::FindWindows({ferrow.pid(), "", "", true}))
                ADD_FAILURE() << "the uninstaller showed \"" << window.caption << "\"";
            code = ferrow.waitForExit(0);
            return code.has_value();
        });
        // The uninstaller, shared and no longer used, is kept: the quiet removal's safe answer.
        EXPECT_EQ(code, std::optional<DWORD>(kSuccess));
    }
    RestartDeletions();
    const std::string iniFile = WindowsDir() + "\\Silent Product.ini";
    ::DeleteFileA(iniFile.c_str());  // emptied of its section, as the removal rules leave it
    const Snapshot after = TakeSnapshot(skip);
    const SnapshotDiff diff = Compare(before, after);
    const std::string ferrow = WindowsDir() + "\\FERROW.EXE";
    for (const std::string& entry : Without(diff.added, kWineChurn))
        if (entry.rfind("dir C:\\Silent Target", 0) != 0 && entry != "file " + ferrow)
            ADD_FAILURE() << "left " << entry;
    for (const std::string& entry : Without(diff.changed, kWineChurn)) ADD_FAILURE() << "changed " << entry;
    for (const std::string& entry : Without(diff.removed, kWineChurn)) ADD_FAILURE() << "removed " << entry;
    RemoveTree("C:\\Silent Target");
    ForgetEarlierUninstaller();
}

// Switches that cannot be followed, and /DIR and /GROUP answers that the wizard's pages would
// refuse: exit code 87, the page's own message in the log, nothing installed, no window.
TEST_F(Unattended, RefusedCommandLinesInstallNothing) {
    RemoveLeftovers("Refused Product");
    const Product product = BuildProduct(work_, "Refused Product");
    struct Case {
        std::string switches;
        std::string logged;
    };
    const std::vector<Case> cases = {
        {"/VERYSILENT /BOGUS", "Unknown switch: /BOGUS"},
        {"/VERYSILENT C:\\Somewhere", "Unknown switch: C:\\Somewhere"},
        {"/VERYSILENT /DIR=Relative\\Folder", "You must enter a full path with drive letter"},
        {"/VERYSILENT /DIR=\\\\server\\share\\App", "Setup Wizard cannot install to a UNC pathname."},
        {"/VERYSILENT \"/DIR=C:\\Bad|Name\"", "The directory name cannot include any of the following characters"},
        {"/VERYSILENT /DIR=Q:\\App", "The drive you selected does not exist."},
        {"/SILENT \"/GROUP=Bad/Group\"", "The group name cannot include any of the following characters"},
        {"/SILENT \"/GROUP=  \"", "You must choose a group name."},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(RunSetup(product, test.switches + " " + LogSwitch()), kInvalidArguments) << test.switches;
        const std::string log = Log();
        EXPECT_NE(log.find(test.logged), std::string::npos) << test.switches << "\n" << log;
        EXPECT_NE(log.find("exit code 87: invalid command line"), std::string::npos) << log;
        ExpectNothingInstalled(product);
    }
    // Without a silent switch the refusal and the switch list come in a box; /? shows the list.
    for (const std::string& switches : {std::string("/NOSUCH"), std::string("/?")}) {
        RunningProgram setup(Quote(product.dist + "\\pelorin.exe") + " " + switches, product.dist);
        const auto box = AnswerNextBox(setup.pid(), "OK", 30);
        ASSERT_TRUE(box) << switches;
        EXPECT_NE(box->text.find("/VERYSILENT: nothing is shown"), std::string::npos) << box->text;
        EXPECT_EQ(box->text.find("Unknown switch: /NOSUCH") != std::string::npos, switches == "/NOSUCH") << box->text;
        EXPECT_EQ(setup.waitForExit(30), std::optional<DWORD>(switches == "/?" ? kSuccess : kInvalidArguments));
    }
    ExpectNothingInstalled(product);

    // A log that cannot be written refuses the run too: a tool must not lose its record.
    EXPECT_EQ(RunSetup(product, "/VERYSILENT \"/LOG=" + (work_ / "missing folder") + "\\run.log\""), kInvalidArguments);
    ExpectNothingInstalled(product);
}

// A refused Windows version, a damaged package and a restart left to the caller.
TEST_F(Unattended, EachOutcomeHasItsOwnExitCode) {
    const Product future = Variant("Future Product", "MinNTVersion = 9.0\r\n");
    EXPECT_EQ(RunSetup(future, "/VERYSILENT " + LogSwitch()), kRefusedPlatform);
    EXPECT_NE(Log().find("This program requires Windows NT version 9."), std::string::npos) << Log();
    ExpectNothingInstalled(future);

    // The archive cut short: the file cannot be decompressed, Abort is the unattended answer,
    // and the run rolls back.
    RemoveLeftovers("Damaged Product");
    const Product damaged = BuildProduct(work_, "Damaged Product", 200000);
    std::vector<std::uint8_t> archive = ReadBytes(damaged.dist + "\\PELORIN.DAT");
    archive.resize(archive.size() / 2);
    WriteBytes(damaged.dist + "\\PELORIN.DAT", archive);
    EXPECT_EQ(RunSetup(damaged, "/VERYSILENT " + LogSwitch()), kFailed);
    const std::string log = Log();
    EXPECT_NE(log.find("-> Abort (unattended default)"), std::string::npos) << log;
    EXPECT_NE(log.find("installation failed, its changes undone"), std::string::npos) << log;
    EXPECT_NE(log.find("exit code 1603: failed, rolled back"), std::string::npos) << log;
    ExpectNothingInstalled(damaged);

    const Product restart = Variant("Restart Product", "AlwaysRestart = yes\r\n");
    EXPECT_EQ(RunSetup(restart, "/SILENT /NORESTART " + LogSwitch(), true), kRestartRequired);
    EXPECT_NE(Log().find("exit code 3010: success, a restart is required"), std::string::npos) << Log();
    EXPECT_TRUE(Exists(restart.appDir + "\\app.exe"));
    Uninstall(restart, kRestartRequired);
    RestartDeletions();
    ExpectNothingInstalled(restart);
}

// Cancel on the progress window of a silent run is honoured: no question, the run rolls back
// and ends with 1602.
TEST_F(Unattended, CancelOnTheSilentProgressWindowRollsBack) {
    // Two thousand files: the copying lasts long enough for the press.
    const Product product = Variant("Cancelled Product", "", 2000);
    const EnvOverride tmp("TMP", temp_.Path().c_str());
    RunningProgram setup(Quote(product.dist + "\\pelorin.exe") + " /SILENT " + LogSwitch(), product.dist);
    HWND cancel = nullptr;
    driver::PollUntil(
        60,
        [&] {
            for (const auto& window : driver::FindWindows({setup.pid(), "Setup Wizard", "", true}))
                if ((cancel = driver::FindControl(window.handle, "Cancel"))) return true;
            return !setup.running();
        },
        10);
    ASSERT_NE(cancel, nullptr) << Log();
    ASSERT_TRUE(driver::PressButton(cancel));
    EXPECT_EQ(setup.waitForExit(120), std::optional<DWORD>(kCancelled));
    const std::string log = Log();
    EXPECT_NE(log.find("installation cancelled, its changes undone"), std::string::npos) << log;
    EXPECT_NE(log.find("exit code 1602: cancelled, rolled back"), std::string::npos) << log;
    ExpectNothingInstalled(product);
}

}  // namespace
}  // namespace pelorin::e2e
