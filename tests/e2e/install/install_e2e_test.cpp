// pelorin.exe end to end: it installs a distribution made by the authoring tool into the
// program-files folder, and a cancel confirmed while a question is open rolls everything back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/WizardWalk.h"

namespace pelorin::e2e {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A distribution in work\dist installing into "<program files>\<name>".
class Distribution {
public:
    Distribution(const ScratchDir& work, const std::string& name, const std::string& extraFiles)
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
                                         " -o " + Quote(work / "dist"));
        EXPECT_EQ(built.exitCode, 0u) << built.output;
        dist_ = work / "dist";
    }
    ~Distribution() { RemoveTree(app_); }
    const std::string& App() const { return app_; }
    const std::string& Dist() const { return dist_; }

private:
    std::string app_;
    std::string dist_;
};

TEST(InstallE2E, InstallsTheFilesAndEndsCleanly) {
    const ScratchDir work("pelorin-install");
    const Distribution dist(work, "Pelorin E2E Install", "");
    RunningProgram program(Quote(dist.Dist() + "\\pelorin.exe"), dist.Dist());
    EXPECT_EQ(WalkToInstall(program.pid()), "");
    EXPECT_EQ(FinishWizard(program.pid()), "");
    const std::vector<driver::MessageBoxInfo> boxes = AnswerBoxesUntilExit(program, "OK", 120);
    EXPECT_TRUE(boxes.empty()) << boxes.front().text;
    EXPECT_EQ(program.waitForExit(5), std::optional<DWORD>(0));
    EXPECT_EQ(Text(ReadBytes(dist.App() + "\\one.txt")), "first file");
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
    EXPECT_EQ(program.waitForExit(5), std::optional<DWORD>(1));
    EXPECT_EQ(Text(ReadBytes(dist.App() + "\\keep.txt")), "was here before");
    EXPECT_FALSE(Exists(dist.App() + "\\Data"));
    EXPECT_FALSE(Exists(dist.App() + "\\one.txt"));
}

}  // namespace
}  // namespace pelorin::e2e
