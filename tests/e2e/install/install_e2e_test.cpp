// pelorin.exe end to end: it installs a distribution made by the authoring tool into the
// program-files folder, a cancel confirmed while a question is open rolls everything back,
// and a signed distribution installs its signed uninstaller, which removes it again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "tests/core/pelorin-build/StoredFile.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/WizardWalk.h"
#include "tests/e2e/signing/WineSigner.h"
#include "tools/pelorin-build/DescriptionDump.h"
#include "tools/pelorin-build/VersionInfo.h"

namespace pelorin::e2e {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A distribution in work\dist installing into "<program files>\<name>"; toolOptions go to pelorin-build.
class Distribution {
public:
    Distribution(const ScratchDir& work, const std::string& name, const std::string& extraFiles,
                 const std::string& toolOptions = "")
        : app_(GetProgramFilesDir(true) + name) {
        WriteBytes(work / "one.txt", Bytes("first file"));
        WriteBytes(work / "two.txt", Bytes(std::string(300000, 't')));
        const std::string project = "[Setup]\r\nAppName = " + name + "\r\nAppVerName = " + name +
                                    " 1.0\r\nDefaultDirName = " + name + "\r\nDefaultGroupName = " + name +
                                    "\r\nMinWinVersion = 4.0\r\nMinNTVersion = 4.0\r\n" + extraFiles +
                                    "[Dir]\r\nDirName = {app}\\Data\r\n"
                                    "[File]\r\nSource = one.txt\r\nDestName = {app}\\one.txt\r\n"
                                    "[File]\r\nSource = two.txt\r\nDestName = {app}\\Data\\two.txt\r\n";
        WriteBytes(work / "p.pelproj", Bytes(project));
        const ToolResult built = RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(work / "p.pelproj") +
                                         " -o " + Quote(work / "dist") + " " + toolOptions);
        EXPECT_EQ(built.exitCode, 0u) << built.output;
        dist_ = work / "dist";
    }
    ~Distribution() { RemoveTree(app_); }
    const std::string& App() const { return app_; }
    const std::string& Dist() const { return dist_; }

    // pelorin.exe through its wizard with what it proposes, to its end without a box.
    void InstallThroughTheWizard() const {
        RunningProgram program(Quote(dist_ + "\\pelorin.exe"), dist_);
        EXPECT_EQ(WalkToInstall(program.pid()), "");
        EXPECT_EQ(FinishWizard(program.pid()), "");
        const std::vector<driver::MessageBoxInfo> boxes = AnswerBoxesUntilExit(program, "OK", 120);
        EXPECT_TRUE(boxes.empty()) << boxes.front().text;
        EXPECT_EQ(program.waitForExit(5), std::optional<DWORD>(0));
        EXPECT_EQ(Text(ReadBytes(app_ + "\\one.txt")), "first file");
    }

private:
    std::string app_;
    std::string dist_;
};

TEST(InstallE2E, InstallsTheFilesAndEndsCleanly) {
    const ScratchDir work("pelorin-install");
    const Distribution dist(work, "Pelorin E2E Install", "");
    dist.InstallThroughTheWizard();
    EXPECT_EQ(ReadBytes(dist.App() + "\\Data\\two.txt").size(), 300000u);
}

TEST(InstallE2E, CancelWhileAQuestionIsOpenRollsBack) {
    const ScratchDir work("pelorin-cancel");
    const Distribution dist(
        work, "Pelorin E2E Cancel",
        "[File]\r\nSource = one.txt\r\nDestName = {app}\\keep.txt\r\nFlags = confirm-overwrite\r\n");
    ::CreateDirectoryA(dist.App().c_str(), nullptr);
    WriteBytes(dist.App() + "\\keep.txt", Bytes("was here before"));

    RunningProgram program(Quote(dist.Dist() + "\\pelorin.exe"), dist.Dist());
    ASSERT_EQ(WalkToInstall(program.pid()), "");
    // The overwrite question of keep.txt (the first file) holds the installation.
    const HWND question = driver::WaitForWindow({program.pid(), "Confirm", "#32770", true}, 60);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(
        driver::ReadMessageBox(question).text,
        dist.App() + "\\keep.txt\r\nThe file already exists.\r\n\r\nWould you like Setup Wizard to overwrite it?");

    // The installation window as the user sees it.
    const HWND form = driver::WaitForWindow({program.pid(), "Setup Wizard", "PelorinForm", true}, 5);
    ASSERT_NE(form, nullptr);
    std::vector<std::string> classes, texts;
    for (const driver::ControlInfo& control : driver::ListControls(form)) {
        classes.push_back(control.className);
        texts.push_back(control.text);
    }
    EXPECT_EQ(classes, (std::vector<std::string>{"SysAnimate32", "Static", "Static", "msctls_progress32", "Button"}));
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[1], "Copying Application Files...");
    EXPECT_EQ(texts[2], dist.App() + "\\keep.txt");
    EXPECT_EQ(texts[4], "Cancel");

    // Closing the window asks the exit question; Yes confirms the cancel.
    driver::RequestClose(form);
    const HWND exitBox = driver::WaitForWindow({program.pid(), "Exit Setup Wizard", "#32770", true}, 20);
    ASSERT_NE(exitBox, nullptr);
    const std::optional<driver::MessageBoxInfo> exit = driver::ReadMessageBox(exitBox);
    driver::PressButton(driver::FindControl(exitBox, "Yes"));
    ASSERT_TRUE(driver::WaitForNoWindow({program.pid(), "Exit Setup Wizard", "#32770", true}, 20));
    EXPECT_EQ(exit->caption, "Exit Setup Wizard");
    EXPECT_EQ(
        exit->text,
        "Setup is not complete. If you quit now, the program will not be installed.\r\n\r\nDo you wish to exit Setup Wizard?");
    EXPECT_EQ(exit->icon, "question");
    driver::PressButton(driver::FindControl(question, "No"));

    // The file in hand is finished, then everything is rolled back without further messages.
    const std::vector<driver::MessageBoxInfo> later = AnswerBoxesUntilExit(program, "OK", 60);
    EXPECT_TRUE(later.empty()) << later.front().text;
    EXPECT_EQ(program.waitForExit(5), std::optional<DWORD>(1602));  // cancelled, rolled back
    EXPECT_EQ(Text(ReadBytes(dist.App() + "\\keep.txt")), "was here before");
    EXPECT_FALSE(Exists(dist.App() + "\\Data"));
    EXPECT_FALSE(Exists(dist.App() + "\\one.txt"));
}

// The shared uninstaller an earlier run left in {win}, and its count: setup would keep that
// copy (same version and time) instead of the one under test.
void ForgetInstalledUninstaller(const std::string& ferrow) {
    ::DeleteFileA(ferrow.c_str());
    KeyHandle shared;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 0,
                        KEY_SET_VALUE, shared.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(shared.get(), ferrow.c_str());
}

std::uint64_t LastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

TEST(InstallE2E, ASignedPackageInstallsItsSignedUninstallerWhichRemovesItAgain) {
    if (!WineSigner::Available()) GTEST_SKIP() << "the host's openssl or osslsigncode cannot be run";
    const WineSigner signer;
    ASSERT_TRUE(signer.Ready());
    const std::string ferrow = GetWinDir() + "\\FERROW.EXE";
    ForgetInstalledUninstaller(ferrow);
    const ScratchDir work("pelorin-signed");
    const Distribution dist(work, "Pelorin E2E Signed", "CreateUninstall = yes\r\n",
                            "--sign " + Quote(signer.Command()));
    EXPECT_TRUE(signer.Verify(dist.Dist() + "\\pelorin.exe"));
    EXPECT_TRUE(signer.Verify(dist.Dist() + "\\PELORIN.DLL"));

    // The uninstaller is stored signed, with the unsigned original's time stamp and version.
    const SetupData data = LoadDescriptionFrom(dist.Dist() + "\\PELORIN.DLL");
    ASSERT_EQ(data.FileEntries.size(), 3u);
    const FileEntry& entry = data.FileEntries[0];
    EXPECT_EQ(entry.DestName, "{win}\\FERROW.EXE");
    const std::vector<std::uint8_t> stored = testing::ReadStoredFile(dist.Dist() + "\\PELORIN.DAT", entry);
    WriteBytes(work / "stored.exe", stored);
    EXPECT_TRUE(signer.Verify(work / "stored.exe"));
    const std::string original = ProgramPath("FERROW.exe");
    EXPECT_GT(stored.size(), ReadBytes(original).size());
    EXPECT_EQ(entry.FileTime, LastWriteTime(original));
    const std::optional<FileVersion> version = ReadFileVersionOf(original);
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(entry.VersionMS, version->ms);
    EXPECT_EQ(entry.VersionLS, version->ls);

    dist.InstallThroughTheWizard();
    EXPECT_EQ(ReadBytes(ferrow), stored);
    EXPECT_EQ(LastWriteTime(ferrow), entry.FileTime);

    // The signed uninstaller runs: Yes to its questions, OK to its report.
    KeyHandle key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelorin E2E Signed 1.0_is1", 0,
                              KEY_QUERY_VALUE, key.put()),
              ERROR_SUCCESS);
    char command[MAX_PATH * 2] = {};
    DWORD size = sizeof command - 1;
    ASSERT_EQ(
        ::RegQueryValueExA(key.get(), "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(command), &size),
        ERROR_SUCCESS);
    RunningProgram uninstaller(command, GetWinDir());
    driver::WindowQuery boxQuery;
    boxQuery.pid = uninstaller.pid();
    boxQuery.className = "#32770";
    for (int i = 0; i < 600 && uninstaller.running(); ++i) {
        const HWND box = driver::WaitForWindow(boxQuery, 0.2);
        if (!box) continue;
        ::Sleep(100);  // the box draws its buttons after it shows
        AnswerNextBox(uninstaller.pid(), driver::ReadMessageBox(box).buttons.size() == 2 ? "Yes" : "OK", 5);
    }
    EXPECT_EQ(uninstaller.waitForExit(10), std::optional<DWORD>(3010));
    EXPECT_FALSE(Exists(dist.App() + "\\one.txt"));
    ForgetInstalledUninstaller(ferrow);
}

}  // namespace
}  // namespace pelorin::e2e
