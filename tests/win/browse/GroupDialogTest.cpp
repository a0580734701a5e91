// Tfbrowse under Wine: its layout; the list from the Start Menu's programs folder (folders
// only, sorted, each once however often it opens); OK with and without a selection, Cancel,
// Enter and Escape; and the list from Wine's program manager where no programs folder is
// known (a copy of this test run as Windows 3.1).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>

#include "setup/CmnFunc.h"
#include "setup/install/DdeHandles.h"
#include "setup/install/ProgmanCommands.h"
#include "setup/wizard/BrowseG.h"
#include "setup/wizard/GroupNames.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tests/win/browse/WindowScript.h"
#include "tests/win/dde/ChildProcess.h"
#include "ui/ImageList.h"
#include "ui/StdCtrls.h"
#include "ui/TreeView.h"

namespace pelorin {
namespace {

using testing::OwnWindow;
using testing::ReadText;
using testing::WindowScript;

const char kCaption[] = "Browse Groups";
const char kChildOut[] = "PELORIN_BROWSE_GROUPS_OUT";
const char kChildPick[] = "PELORIN_BROWSE_GROUPS_PICK";

std::string Unique(const std::string& stem) { return stem + " " + std::to_string(::GetCurrentProcessId()); }

RECT BoundsOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return RECT{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

::testing::AssertionResult SameBounds(const RECT& expected, const RECT& actual) {
    if (std::equal(&expected.left, &expected.left + 4, &actual.left)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "bounds " << actual.left << "," << actual.top << " " << actual.right << "x"
                                         << actual.bottom;
}

HTREEITEM FindItem(const TTreeView& tv, const std::string& text) {
    auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tv.Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item && tv.Text(item) != text)
        item = reinterpret_cast<HTREEITEM>(
            ::SendMessageA(tv.Handle(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    return item;
}

// Selects the entry (none for an empty text) and lets the modal loop see a key press.
void SelectAndPress(Tfbrowse& fb, const std::string& text, UINT key) {
    const HTREEITEM item = text.empty() ? nullptr : FindItem(fb.tv, text);
    EXPECT_TRUE(text.empty() || item) << "no entry " << text;
    ::SendMessageA(fb.tv.Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    ::PostMessageA(fb.tv.Handle(), WM_KEYDOWN, key, 0);
}

bool InOrder(const std::vector<std::string>& texts) {
    return std::is_sorted(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
        return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
}

TEST(GroupDialog, LaysOutItsControlsAsDesigned) {
    Tfbrowse fb;
    EXPECT_EQ(kCaption, driver::GetText(fb.Handle()));
    EXPECT_FALSE(fb.Visible());
    const SIZE client = fb.ClientSize();
    EXPECT_EQ(313, client.cx);
    EXPECT_EQ(322, client.cy);
    const LONG_PTR style = ::GetWindowLongPtrA(fb.Handle(), GWL_STYLE);
    EXPECT_NE(0, style & WS_SYSMENU);
    EXPECT_EQ(0, style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    RECT window{};
    ::GetWindowRect(fb.Handle(), &window);
    EXPECT_NEAR(::GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR(::GetSystemMetrics(SM_CYSCREEN) / 2, (window.top + window.bottom) / 2, 1);

    EXPECT_EQ("Please select a group from the list below.", driver::GetText(fb.Label1.Handle()));
    EXPECT_EQ(8, BoundsOf(fb.Label1.Handle()).left);
    EXPECT_EQ(8, BoundsOf(fb.Label1.Handle()).top);
    EXPECT_TRUE(SameBounds(RECT{8, 40, 297, 241}, BoundsOf(fb.tv.Handle())));
    const LONG_PTR treeStyle = ::GetWindowLongPtrA(fb.tv.Handle(), GWL_STYLE);
    EXPECT_EQ(0, treeStyle & TVS_EDITLABELS);
    EXPECT_EQ(0, treeStyle & TVS_LINESATROOT);
    EXPECT_EQ(23, ::SendMessageA(fb.tv.Handle(), TVM_GETINDENT, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageA(fb.tv.Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    int width = 0, height = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images, &width, &height));
    EXPECT_EQ(18, width);
    EXPECT_EQ(18, height);
    EXPECT_EQ(1, ::ImageList_GetImageCount(images));

    EXPECT_EQ("&OK", driver::GetText(fb.bok.Handle()));
    EXPECT_EQ(BS_DEFPUSHBUTTON, ::GetWindowLongPtrA(fb.bok.Handle(), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ("C&ancel", driver::GetText(fb.bc.Handle()));
    for (const HWND button : {fb.bok.Handle(), fb.bc.Handle()}) {
        const RECT r = BoundsOf(button);
        EXPECT_LE(r.top, 322 - r.bottom) << "buttons under the list, inside the dialog";
        EXPECT_GE(r.top, 40 + 241);
        EXPECT_LE(r.left + r.right, 313);
    }
}

// Two groups and a file in the Start Menu's programs folder, removed at the end.
class StartMenuGroups : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.empty()) << "no programs folder";
        for (const std::string& name : {zeta_, alpha_})
            ASSERT_TRUE(::CreateDirectoryA((folder_ + name).c_str(), nullptr));
        std::ofstream(folder_ + file_) << "not a group";
    }
    void TearDown() override {
        for (const std::string& name : {zeta_, alpha_}) ::RemoveDirectoryA((folder_ + name).c_str());
        ::DeleteFileA((folder_ + file_).c_str());
    }

    const std::string folder_ = GetProgramsFolder(IsAdmin(), true);
    const std::string zeta_ = Unique("Pelorin Zeta"), alpha_ = Unique("Pelorin Alpha");
    const std::string file_ = Unique("Pelorin File") + ".txt";
    Tfbrowse fb_;
};

TEST_F(StartMenuGroups, ListsTheFoldersSortedOnceAndHandsBackTheChoice) {
    std::string group = "Unchanged";
    std::vector<std::string> first;
    {
        WindowScript script(OwnWindow(kCaption), [&](HWND) {
            first = fb_.tv.TopLevelTexts();
            SelectAndPress(fb_, alpha_, 0);
            driver::PressButton(fb_.bok.Handle());
        });
        EXPECT_TRUE(fb_.Execute(group));
    }
    EXPECT_EQ(alpha_, group);
    const auto alpha = std::find(first.begin(), first.end(), alpha_);
    const auto zeta = std::find(first.begin(), first.end(), zeta_);
    EXPECT_TRUE(alpha < zeta && zeta != first.end()) << "both groups, in text order";
    EXPECT_EQ(first.end(), std::find(first.begin(), first.end(), file_));
    EXPECT_TRUE(InOrder(first));
    EXPECT_EQ(first.end(), std::find(first.begin(), first.end(), "Accessoires")) << "only groups that exist";

    // Opened again: each group once; OK with nothing selected changes nothing.
    std::vector<std::string> second;
    {
        WindowScript script(OwnWindow(kCaption), [&](HWND) {
            second = fb_.tv.TopLevelTexts();
            SelectAndPress(fb_, "", 0);
            driver::PressButton(fb_.bok.Handle());
        });
        EXPECT_FALSE(fb_.Execute(group));
    }
    EXPECT_EQ(first, second);
    EXPECT_EQ(alpha_, group);
}

TEST_F(StartMenuGroups, CancelEscapeAndEnter) {
    std::string group = "Unchanged";
    {
        WindowScript script(OwnWindow(kCaption), [&](HWND) {
            SelectAndPress(fb_, zeta_, 0);
            driver::PressButton(fb_.bc.Handle());
        });
        EXPECT_FALSE(fb_.Execute(group));
    }
    {
        WindowScript script(OwnWindow(kCaption), [&](HWND) { SelectAndPress(fb_, zeta_, VK_ESCAPE); });
        EXPECT_FALSE(fb_.Execute(group));
    }
    EXPECT_EQ("Unchanged", group);
    {
        WindowScript script(OwnWindow(kCaption), [&](HWND) { SelectAndPress(fb_, zeta_, VK_RETURN); });
        EXPECT_TRUE(fb_.Execute(group));
    }
    EXPECT_EQ(zeta_, group);
}

// --- The program manager's list ------------------------------------------------------

// Run by ListsWhatTheProgramManagerNames in a copy of this program that Wine tells it is
// on Windows 3.1: it writes the list it shows, one per line, then "picked: " and the group
// it handed back.
TEST(GroupDialogProgman, Child) {
    const std::string out = GetEnv(kChildOut);
    if (out.empty()) GTEST_SKIP() << "started by ListsWhatTheProgramManagerNames";
    ASSERT_LE(GetWindowsVersion().Major, 3);
    ASSERT_EQ("", GetProgramsFolder(IsAdmin(), true));
    Tfbrowse fb;
    std::string group;
    std::string listed;
    {
        WindowScript script(OwnWindow(kCaption), [&](HWND) {
            for (const std::string& text : fb.tv.TopLevelTexts()) listed += text + "\r\n";
            SelectAndPress(fb, GetEnv(kChildPick), VK_RETURN);
        });
        EXPECT_TRUE(fb.Execute(group));
    }
    std::ofstream(out, std::ios::binary) << listed << "picked: " << group;
}

class ProgramManagerGroups : public ::testing::Test {
protected:
    // Wine's desktop usually serves the program manager already; otherwise the test runs
    // a desktop shell of its own.
    static void SetUpTestSuite() {
        if (testing::WaitForService(ProgmanService, ProgmanService, 3000)) return;
        shell_ = std::make_unique<testing::ChildProcess>("explorer.exe /desktop=shell,1024x768");
        ASSERT_TRUE(testing::WaitForService(ProgmanService, ProgmanService, 30000)) << "PROGMAN did not answer";
    }
    static void TearDownTestSuite() { shell_.reset(); }

    void SetUp() override {
        if (!GetEnv(kChildOut).empty()) GTEST_SKIP() << "the child lists only";
        Send(CreateGroupCommand(group_));
    }
    void TearDown() override {
        if (GetEnv(kChildOut).empty()) Send(DeleteGroupCommand(group_));
    }

    // Each talk with the program manager has a client of its own: no DDE window of this
    // process may stand in the way of the child's, while this one waits for the child.
    static void Send(const std::string& command) {
        const TDDE dde;
        const DdeStringHandle service(dde, dde.CreateStringHandle(ProgmanService));
        const DdeConversation conversation(dde, dde.Connect(service.get(), service.get()));
        EXPECT_TRUE(dde.Execute(conversation.get(), command, false)) << command;
    }
    static std::vector<std::string> Groups() {
        const TDDE dde;
        const DdeStringHandle service(dde, dde.CreateStringHandle(ProgmanService));
        const DdeConversation conversation(dde, dde.Connect(service.get(), service.get()));
        const DdeStringHandle item(dde, dde.CreateStringHandle(ProgmanGroupsItem));
        const DdeRequestData answer(dde, dde.Request(conversation.get(), item.get(), CF_TEXT));
        return SplitGroupNames(TextOf(answer.get()));
    }

    // Waits for the program with this thread's messages running, as a program would.
    static std::optional<DWORD> WaitPumping(const e2e::RunningProgram& program, DWORD timeoutMs) {
        const DWORD start = ::GetTickCount();
        const HANDLE process = program.handle();
        for (;;) {
            const DWORD elapsed = ::GetTickCount() - start;
            if (elapsed >= timeoutMs) return std::nullopt;
            const DWORD woken = ::MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
            if (woken == WAIT_OBJECT_0) {
                DWORD code = 0;
                ::GetExitCodeProcess(process, &code);
                return code;
            }
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        }
    }

    static std::unique_ptr<testing::ChildProcess> shell_;
    const std::string group_ = Unique("Pelorin Progman");
};

std::unique_ptr<testing::ChildProcess> ProgramManagerGroups::shell_;

TEST_F(ProgramManagerGroups, ListsWhatTheProgramManagerNames) {
    std::vector<std::string> expected = Groups();
    ASSERT_NE(expected.end(), std::find(expected.begin(), expected.end(), group_));

    const testing::ScratchDir scratch("pelorin-browse-groups");
    const std::string child = scratch / "pelorin_browse_child.exe";
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    e2e::CopyFileOrFail(self, child);
    const e2e::WineVersionOverride win31("pelorin_browse_child.exe", "win31");
    const std::string out = scratch / "listed.txt";
    const e2e::EnvOverride outVar(kChildOut, out.c_str());
    const e2e::EnvOverride pickVar(kChildPick, group_.c_str());
    const e2e::RunningProgram run(e2e::Quote(child) + " --gtest_filter=GroupDialogProgman.Child");
    const std::optional<DWORD> exitCode = WaitPumping(run, 120000);
    ASSERT_TRUE(exitCode.has_value()) << "the child did not end";
    ASSERT_EQ(0u, *exitCode) << "the child failed";

    std::vector<std::string> listed = SplitGroupNames(ReadText(out));
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ("picked: " + group_, listed.back());
    listed.pop_back();
    EXPECT_TRUE(InOrder(listed));
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, listed);
}

}  // namespace
}  // namespace pelorin
