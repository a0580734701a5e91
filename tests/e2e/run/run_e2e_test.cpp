// pelorin.exe from start to finish on packages made by pelorin-build: leaving early, Run entries, the
// final page and restart offer, browsing, minimise and restore, keys and pixels of the background.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/Background.h"
#include "setup/RunCommand.h"
#include "setup/CmnFunc.h"
#include "platform/win/Handles.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/driver/Screenshot.h"
#include "tests/e2e/driver/WizardWalk.h"

namespace pelorin::e2e {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A package installing one file into "<program files>\<name>", with extra project lines.
class Package {
public:
    Package(const ScratchDir& work, const std::string& name, const std::string& setupLines,
            const std::string& sections = "")
        : app_(GetProgramFilesDir(true) + name), dist_(work / "dist") {
        WriteBytes(work / "one.txt", Bytes("first file"));
        const std::string project = "[Setup]\r\nAppName = " + name + "\r\nAppVerName = " + name +
                                    " 1.0\r\nDefaultDirName = " + name + "\r\nDefaultGroupName = " + name + "\r\n" +
                                    setupLines + "[File]\r\nSource = one.txt\r\nDestName = {app}\\one.txt\r\n" +
                                    sections;
        WriteBytes(work / "p.pelproj", Bytes(project));
        const ToolResult built =
            RunTool(Quote(ProgramPath("pelorin-build.exe")) + " " + Quote(work / "p.pelproj") + " -o " + Quote(dist_));
        EXPECT_EQ(built.exitCode, 0u) << built.output;
    }
    ~Package() { RemoveTree(app_); }
    const std::string& App() const { return app_; }
    std::unique_ptr<RunningProgram> Start() const {
        return std::make_unique<RunningProgram>(Quote(dist_ + "\\pelorin.exe"), dist_);
    }

private:
    std::string app_;
    std::string dist_;
};

HWND Background(DWORD pid, const std::string& name) {
    return driver::WaitForWindow({pid, name + " - Setup", "PelorinForm", true}, 20);
}

TEST(RunE2E, CancelAsksTheExitQuestionNoKeepsTheWizardYesEndsWithoutInstalling) {
    const ScratchDir work("pelorin-run-cancel");
    const Package package(work, "Pelorin Run Cancel", "");
    const auto program = package.Start();
    const HWND welcome = WaitForPage(program->pid(), "Welcome");
    ASSERT_NE(welcome, nullptr);
    ASSERT_EQ(PressOnPage(program->pid(), "Welcome", "Cancel"), "");
    const auto first = AnswerNextBox(program->pid(), "No", 20);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->caption, "Exit Setup Wizard");
    EXPECT_EQ(first->text,
              "Setup is not complete. If you quit now, the program will not be installed.\r\n\r\nDo you wish to exit "
              "Setup Wizard?");
    EXPECT_EQ(first->icon, "question");
    EXPECT_NE(WaitForPage(program->pid(), "Welcome", 5), nullptr);
    EXPECT_TRUE(program->running());
    ASSERT_EQ(PressOnPage(program->pid(), "Welcome", "Cancel"), "");
    ASSERT_TRUE(AnswerNextBox(program->pid(), "Yes", 20).has_value());
    EXPECT_EQ(program->waitForExit(20), std::optional<DWORD>(1602));  // cancelled
    EXPECT_FALSE(Exists(package.App()));
}

TEST(RunE2E, RunEntriesStartInOrderReportAMissingOneAndWaitUnlessAskedNotTo) {
    const ScratchDir work("pelorin-run-entries");
    const std::string probe = ProgramPath("pelorin-runprobe.exe");
    const std::string log = work / "order.txt";
    const std::string run =
        "[Run]\r\nFilename = {app}\\missing.exe\r\n"
        "[Run]\r\nFilename = " +
        probe + "\r\nParameters = " + log +
        " 1500 waited\r\n"
        "[Run]\r\nFilename = " +
        probe + "\r\nParameters = " + log +
        " 2500 late\r\nFlags = no-wait\r\n"
        "[Run]\r\nFilename = " +
        probe + "\r\nParameters = " + log + " 0 after\r\n";
    const Package package(work, "Pelorin Run Entries", "", run);
    const auto program = package.Start();
    ASSERT_EQ(WalkToInstall(program->pid()), "");
    const auto box = AnswerNextBox(program->pid(), "OK", 60);
    ASSERT_TRUE(box.has_value());
    char system[256] = {};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 2, 0, system, sizeof system,
                     nullptr);
    EXPECT_EQ(box->caption, "Error");
    EXPECT_EQ(box->icon, "stop");
    EXPECT_EQ(box->text, UnableToExecuteText("\"" + package.App() + "\\missing.exe\" ", 2, TrimSystemMessage(system)));
    ASSERT_EQ(FinishWizard(program->pid(), 60), "");
    EXPECT_EQ(program->waitForExit(20), std::optional<DWORD>(0));
    ::Sleep(3000);  // the program not waited for writes last
    EXPECT_EQ(Text(ReadBytes(log)), "waited\nafter\nlate\n");
}

TEST(RunE2E, ClosingTheFinalPageEndsWithoutAQuestion) {
    const ScratchDir work("pelorin-run-close");
    const Package package(work, "Pelorin Run Close", "");
    const auto program = package.Start();
    ASSERT_EQ(WalkToInstall(program->pid()), "");
    const HWND final = WaitForPage(program->pid(), "Setup successful", 60);
    ASSERT_NE(final, nullptr);
    EXPECT_EQ(driver::GetText(driver::FindControl(final, "text:&Finish")), "&Finish");
    driver::RequestClose(final);
    EXPECT_EQ(program->waitForExit(20), std::optional<DWORD>(0));
    EXPECT_TRUE(Exists(package.App() + "\\one.txt"));
}

TEST(RunE2E, TheRestartOfferOnTheFinalPageCanBeDeclined) {
    const ScratchDir work("pelorin-run-restart");
    const Package package(work, "Pelorin Run Restart", "AlwaysRestart = yes\r\n");
    const auto program = package.Start();
    ASSERT_EQ(WalkToInstall(program->pid()), "");
    const HWND final = WaitForPage(program->pid(), "Setup successful", 60);
    ASSERT_NE(final, nullptr);
    const HWND now = driver::FindControl(final, "text:&Yes, restart the computer now");
    const HWND later = driver::FindControl(final, "text:&No, I will restart the computer later");
    ASSERT_NE(now, nullptr);
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(::SendMessageA(now, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(driver::FindControl(final,
                                  "text:To complete the installation of Pelorin Run Restart, Setup Wizard must restart "
                                  "your computer."),
              nullptr);
    ::SendMessageA(later, BM_CLICK, 0, 0);
    EXPECT_EQ(::SendMessageA(now, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ASSERT_EQ(FinishWizard(program->pid()), "");
    const auto boxes = AnswerBoxesUntilExit(*program, "OK", 20);
    EXPECT_TRUE(boxes.empty()) << boxes.front().text;                // no restart, and so no warning about one
    EXPECT_EQ(program->waitForExit(5), std::optional<DWORD>(3010));  // the restart is left undone
}

// Selects the first item at the top of a tree view of another process (only item handles
// cross the process boundary).
void SelectFirstItem(HWND tree) {
    const LPARAM root = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    ASSERT_NE(root, 0);
    ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, root);
    EXPECT_EQ(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), root);
}

// Selects a folder in the folder browser of another process: the path is handed over in
// memory of that process, and the request is posted again until the tree shows the folder
// selected (a shell that is still filling the tree drops a selection made meanwhile).
class FolderSelection {
public:
    FolderSelection(DWORD pid, HWND dialog, const std::string& path)
        : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE | PROCESS_VM_READ, FALSE, pid)),
          dialog_(dialog) {
        if (!process_) return;
        remote_ = static_cast<char*>(
            ::VirtualAllocEx(process_.get(), nullptr, kTextOffset + MAX_PATH, MEM_COMMIT, PAGE_READWRITE));
        if (remote_ && ::WriteProcessMemory(process_.get(), remote_, path.c_str(), path.size() + 1, nullptr))
            posted_ = Post();
    }
    // Only once the dialog is gone: until then it may still read the path.
    ~FolderSelection() {
        if (remote_) ::VirtualFreeEx(process_.get(), remote_, 0, MEM_RELEASE);
    }
    bool Posted() const { return posted_; }

    // Waits until the tree's selected item is named name, posting the request again meanwhile.
    bool WaitUntilSelected(const std::string& name, double timeoutSeconds) {
        const HWND tree = driver::FindControl(dialog_, "class:SysTreeView32");
        return driver::PollUntil(
            timeoutSeconds,
            [&] {
                if (SelectedName(tree) == name) return true;
                Post();
                return false;
            },
            250);
    }

private:
    static constexpr std::size_t kItemOffset = MAX_PATH;  // a TVITEMA after the path
    static constexpr std::size_t kTextOffset = kItemOffset + 128;

    bool Post() const {
        return ::PostMessageA(dialog_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote_)) != FALSE;
    }

    // The text of the tree's selected item, read through memory of the dialog's process.
    std::string SelectedName(HWND tree) const {
        const LPARAM item = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
        if (!tree || !item) return std::string();
        TVITEMA query{};
        query.mask = TVIF_TEXT;
        query.hItem = reinterpret_cast<HTREEITEM>(item);
        query.pszText = remote_ + kTextOffset;
        query.cchTextMax = MAX_PATH;
        char text[MAX_PATH] = {};
        if (!::WriteProcessMemory(process_.get(), remote_ + kItemOffset, &query, sizeof query, nullptr) ||
            !::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote_ + kItemOffset)) ||
            !::ReadProcessMemory(process_.get(), remote_ + kTextOffset, text, sizeof text - 1, nullptr))
            return std::string();
        return text;
    }

    KernelHandle process_;
    HWND dialog_;
    char* remote_ = nullptr;
    bool posted_ = false;
};

// The edit of the page on show (the other pages' edits are hidden).
HWND VisibleEdit(HWND wizard) {
    for (const driver::ControlInfo& control : driver::ListControls(wizard))
        if (control.visible && control.className == "Edit") return control.handle;
    return nullptr;
}

TEST(RunE2E, BrowsingForTheFolderAndTheGroupFillsTheirEditsOnlyWhenConfirmed) {
    const ScratchDir work("pelorin-run-browse");
    const Package package(work, "Pelorin Run Browse", "");
    // A group that sorts before every other one of the Start Menu's programs folder.
    const std::string programs = GetProgramsFolder(IsAdmin(), true);
    const std::string group = "0000 Pelorin Browse E2E";
    ::CreateDirectoryA((programs + group).c_str(), nullptr);
    const struct GroupFolder {
        std::string path;
        ~GroupFolder() { RemoveTree(path); }
    } groupFolder{programs + group};
    int groupCount = 0;
    WIN32_FIND_DATAA found{};
    const FindHandle search(::FindFirstFileA((programs + "*").c_str(), &found));
    ASSERT_TRUE(search);
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") ++groupCount;
    } while (::FindNextFileA(search.get(), &found));

    const auto program = package.Start();
    const DWORD pid = program->pid();
    ASSERT_EQ(PressOnPage(pid, "Welcome", "Next >"), "");
    ASSERT_EQ(PressOnPage(pid, "License Agreement", "Yes"), "");
    const HWND directoryPage = WaitForPage(pid, "Destination Directory");
    ASSERT_NE(directoryPage, nullptr);
    const HWND dirEdit = VisibleEdit(directoryPage);
    const std::string chosen = work / "Chosen";
    ASSERT_TRUE(::CreateDirectoryA(chosen.c_str(), nullptr));
    const auto browseFolder = [&](const char* button) {
        ASSERT_TRUE(driver::PressButton(driver::FindControl(directoryPage, "Browse...")));
        const HWND dialog = driver::WaitForWindow({pid, "", "#32770", true}, 20);
        ASSERT_NE(dialog, nullptr);
        EXPECT_NE(driver::FindControl(dialog, "text:Browse Folders"), nullptr) << "the title above the tree";
        FolderSelection selection(pid, dialog, chosen);
        ASSERT_TRUE(selection.Posted());
        ASSERT_TRUE(selection.WaitUntilSelected("Chosen", 20)) << "the folder shown selected in the tree";
        ASSERT_TRUE(driver::PressButton(driver::FindControl(dialog, button)));
        ASSERT_TRUE(driver::WaitForNoWindow({pid, "", "#32770", true}, 20));
    };
    browseFolder("OK");
    EXPECT_EQ(driver::WaitForText(dirEdit, chosen, 10), chosen);
    // A cancelled browse puts the folder of the last confirmed one back.
    ASSERT_TRUE(driver::SetText(dirEdit, work / "typed"));
    browseFolder("Cancel");
    EXPECT_EQ(driver::WaitForText(dirEdit, chosen, 10), chosen);
    ASSERT_TRUE(driver::SetText(dirEdit, package.App()));

    ASSERT_EQ(PressOnPage(pid, "Destination Directory", "Next >"), "");
    const HWND iconsPage = WaitForPage(pid, "Program Icons");
    ASSERT_NE(iconsPage, nullptr);
    const HWND groupEdit = VisibleEdit(iconsPage);
    EXPECT_EQ(driver::GetText(groupEdit), "Pelorin Run Browse");
    const auto browseGroups = [&](const char* button) {
        ASSERT_TRUE(driver::PressButton(driver::FindControl(iconsPage, "Browse...")));
        const HWND dialog = driver::WaitForWindow({pid, "Browse Groups", "", true}, 20);
        ASSERT_NE(dialog, nullptr);
        const HWND tree = driver::FindControl(dialog, "class:SysTreeView32");
        EXPECT_EQ(::SendMessageA(tree, TVM_GETCOUNT, 0, 0), groupCount) << "each group once";
        SelectFirstItem(tree);
        ASSERT_TRUE(driver::PressButton(driver::FindControl(dialog, button)));
        ASSERT_TRUE(driver::WaitForNoWindow({pid, "Browse Groups", "", true}, 20));
    };
    browseGroups("Cancel");
    EXPECT_EQ(driver::GetText(groupEdit), "Pelorin Run Browse");
    browseGroups("OK");
    EXPECT_EQ(driver::WaitForText(groupEdit, group, 10), group);

    ASSERT_EQ(PressOnPage(pid, "Program Icons", "Cancel"), "");
    ASSERT_TRUE(AnswerNextBox(pid, "Yes", 20).has_value());
    EXPECT_EQ(program->waitForExit(20), std::optional<DWORD>(1602));  // cancelled
}

TEST(RunE2E, MinimiseHidesTheWizardRestoreShowsItAndAKeyOnTheBackgroundBringsItBack) {
    const ScratchDir work("pelorin-run-minimise");
    const Package package(work, "Pelorin Run Minimise", "");
    const auto program = package.Start();
    const HWND wizard = WaitForPage(program->pid(), "Welcome");
    const HWND background = Background(program->pid(), "Pelorin Run Minimise");
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(background, nullptr);
    ::PostMessageA(background, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(driver::WaitForNoWindow({program->pid(), "Welcome", "PelorinForm", true}, 10));
    EXPECT_TRUE(::IsIconic(background));
    ::PostMessageA(background, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(WaitForPage(program->pid(), "Welcome", 10), wizard);
    ::SetForegroundWindow(background);
    ::Sleep(300);
    ::PostMessageA(background, WM_KEYDOWN, 'A', 1);
    for (int i = 0; i < 50 && ::GetForegroundWindow() != wizard; ++i) ::Sleep(100);
    EXPECT_EQ(::GetForegroundWindow(), wizard);
}

// The colour of each band at the left edge and right of the wizard, away from the logo and text.
void ExpectBands(HWND background, std::uint32_t base, const std::string& what) {
    RECT client{};
    ::GetClientRect(background, &client);
    POINT origin{0, 0};
    ::ClientToScreen(background, &origin);
    const driver::Screenshot shot = driver::CaptureScreen();
    ASSERT_FALSE(shot.empty());
    int checked = 0;
    for (int band = 0; band < kBackgroundBands; ++band) {
        const int top = BandTop(client.bottom, band),
                  bottom = std::min<int>(BandTop(client.bottom, band + 1), client.bottom);
        if (bottom - top < 3 || top < 100) continue;  // below the logo and the title
        const std::uint32_t want = ScaleColor(base, BandFactor(band));
        const int y = origin.y + (top + bottom) / 2;
        for (const int x : {static_cast<int>(origin.x + 4), static_cast<int>(origin.x + client.right - 4)}) {
            if (y >= shot.height || x >= shot.width) continue;
            const std::uint32_t pixel = shot.At(x, y);
            EXPECT_EQ(RGB(driver::Red(pixel), driver::Green(pixel), driver::Blue(pixel)), want)
                << what << " band " << band << " at " << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 40) << what;
}

TEST(RunE2E, TheBackgroundIsPaintedBandByBandOrFlatWithTheShadowedTitle) {
    {
        const ScratchDir work("pelorin-run-gradient");
        const Package package(work, "Pelorin Run Gradient", "BackColor = rgb(200, 100, 40)\r\n");
        const auto program = package.Start();
        ASSERT_NE(WaitForPage(program->pid(), "Welcome"), nullptr);
        const HWND background = Background(program->pid(), "Pelorin Run Gradient");
        ::Sleep(500);
        ExpectBands(background, RGB(200, 100, 40), "rgb(200, 100, 40)");
        // The title: white letters with black shadow pixels 2 right and 4 down, from x = 112.
        POINT origin{0, 0};
        ::ClientToScreen(background, &origin);
        RECT title{origin.x + 112, origin.y + 16, origin.x + 500, origin.y + 60};
        const driver::Screenshot text = driver::CaptureScreen(&title);
        int white = 0, black = 0;
        for (const std::uint32_t pixel : text.pixels) {
            white += pixel == 0xFFFFFF;
            black += pixel == 0x000000;
        }
        EXPECT_GT(white, 200);
        EXPECT_GT(black, 100);
    }
    {
        const ScratchDir work("pelorin-run-system");
        const Package package(work, "Pelorin Run System", "BackColor = system(1)\r\n");  // the desktop colour
        const auto program = package.Start();
        ASSERT_NE(WaitForPage(program->pid(), "Welcome"), nullptr);
        ::Sleep(500);
        ExpectBands(Background(program->pid(), "Pelorin Run System"), ::GetSysColor(COLOR_BACKGROUND), "system(1)");
    }
    {
        const ScratchDir work("pelorin-run-solid");
        const Package package(work, "Pelorin Run Solid", "BackColor = rgb(0, 128, 0)\r\nSolidBackground = yes\r\n");
        const auto program = package.Start();
        ASSERT_NE(WaitForPage(program->pid(), "Welcome"), nullptr);
        const HWND background = Background(program->pid(), "Pelorin Run Solid");
        ::Sleep(500);
        RECT client{};
        ::GetClientRect(background, &client);
        POINT origin{0, 0};
        ::ClientToScreen(background, &origin);
        const driver::Screenshot shot = driver::CaptureScreen();
        for (const int y : {120, static_cast<int>(client.bottom / 2), static_cast<int>(client.bottom - 3)})
            for (const int x : {4, static_cast<int>(client.right - 4)})
                EXPECT_EQ(shot.At(origin.x + x, origin.y + y), 0x008000u) << x << "," << y;
    }
}

}  // namespace
}  // namespace pelorin::e2e
