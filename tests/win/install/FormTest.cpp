// The installation window: its layout and captions, the close query with and without the
// background window's consent, Escape, and DoInstall's three endings seen from the window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>

#include "setup/CmnFunc.h"
#include "setup/install/InstallForm.h"
#include "tests/win/install/EngineFixture.h"
#include "ui/Application.h"

namespace pelorin::testing {
namespace {

RECT ClientRectOf(HWND control, HWND form) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Takes a quit request out of the queue; true when there was one.
bool TakeQuit() {
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class InstallWindow : public EngineFixture {
protected:
    void TearDown() override {
        TakeQuit();
        EngineFixture::TearDown();
    }
    std::unique_ptr<TInstallForm> MakeForm(HWND main = nullptr) {
        auto form = std::make_unique<TInstallForm>(main, [this] {
            ++mainCloseQueries;
            finishedDuringQuestion = finishedDuringQuestion || (current && current->Finished);
            return mainAccepts;
        });
        current = form.get();
        form->SetPrompt(&prompt);
        form->SetUndoPrompt(&undoPrompt);
        form->SetSourceDir(root / "src");
        return form;
    }
    int mainCloseQueries = 0;
    bool mainAccepts = false;
    bool finishedDuringQuestion = false;
    TInstallForm* current = nullptr;
};

TEST_F(InstallWindow, LayoutAndCaptions) {
    AddFile(std::string(1000, 'z'), "{app}\\z.txt");
    Desc().Header.IniCount = 1;
    Desc().Header.IconCount = 2;
    const auto form = MakeForm();
    EXPECT_EQ(TextOf(form->Handle()), "Setup Wizard");
    EXPECT_EQ(form->ClientSize().cx, 362);
    EXPECT_EQ(form->ClientSize().cy, 149);
    const LONG_PTR style = ::GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
    struct Expected {
        TControl* control;
        RECT rect;
        const char* name;
    };
    const Expected expected[] = {
        {&form->Ani, {8, 8, 280, 68}, "Ani"},
        {&form->StatusLabel, {8, 72, 353, 88}, "StatusLabel"},
        {&form->FilenameLabel, {8, 88, 353, 105}, "FilenameLabel"},
        {&form->Jauge, {8, 112, 281, 129}, "Jauge"},
        {&form->CancelButton, {288, 112, 353, 137}, "CancelButton"},
    };
    for (const Expected& e : expected) {
        const RECT r = ClientRectOf(e.control->Handle(), form->Handle());
        EXPECT_EQ(r.left, e.rect.left) << e.name;
        EXPECT_EQ(r.top, e.rect.top) << e.name;
        EXPECT_EQ(r.right, e.rect.right) << e.name;
        EXPECT_EQ(r.bottom, e.rect.bottom) << e.name;
        EXPECT_EQ(e.control->Name, e.name);
    }
    EXPECT_EQ(TextOf(form->CancelButton.Handle()), "Cancel");
    // Files, two items and the INI step; no registry step.
    const std::int64_t max = ProgressMaximum(Desc());
    EXPECT_EQ(max, Desc().FileEntries[0].CompressedSize + 3000);
    EXPECT_EQ(::SendMessageA(form->Jauge.Handle(), PBM_GETRANGE, FALSE, 0), max);
    EXPECT_EQ(form->Changes->Title, "Test App");
}

TEST_F(InstallWindow, RangesBeyondThirtyTwoBitsAreScaled) {
    FileEntry big = EntryFor("{app}\\big");
    big.CompressedSize = 0xF0000000u;
    Desc().FileEntries = {big, big};
    const auto form = MakeForm();
    EXPECT_EQ(form->ProgressMax(), 0x1E0000000ll);
    EXPECT_LE(form->Jauge.Max(), INT_MAX);
    EXPECT_GT(form->Jauge.Max(), INT_MAX / 4);
}

TEST_F(InstallWindow, CloseAsksTheBackgroundWindowOnce) {
    const auto form = MakeForm();
    form->Show();
    EXPECT_FALSE(form->Close());  // the background window refused
    EXPECT_EQ(mainCloseQueries, 1);
    EXPECT_FALSE(form->CancelRequested);
    EXPECT_FALSE(form->Finished);
    EXPECT_TRUE(finishedDuringQuestion);
    EXPECT_TRUE(form->Visible());

    mainAccepts = true;
    form->CancelButton.Click();
    EXPECT_EQ(mainCloseQueries, 2);
    EXPECT_TRUE(form->CancelRequested);
    EXPECT_FALSE(form->Visible());

    form->Finished = true;  // a finished installation closes without asking
    form->Show();
    EXPECT_TRUE(form->Close());
    EXPECT_EQ(mainCloseQueries, 2);
}

TEST_F(InstallWindow, EscapePressesCancel) {
    const auto form = MakeForm();
    form->Show();
    ::PostMessageA(form->CancelButton.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    ProcessMessages();
    EXPECT_EQ(mainCloseQueries, 1);
}

TEST_F(InstallWindow, CompletedInstallationClosesAndAdvances) {
    TForm main(nullptr);
    AddFile("data", "{app}\\d.txt");
    archive.Write();
    const auto form = MakeForm(main.Handle());
    form->Show();
    form->DoInstall();
    EXPECT_TRUE(form->Finished);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(mainCloseQueries, 0);
    EXPECT_EQ(TextOf(form->FilenameLabel.Handle()), "");
    EXPECT_EQ(TextOf(form->StatusLabel.Handle()), "Copying Application Files...");
    // The bar hears of positions only when a pixel changes, but the end is always shown.
    EXPECT_EQ(::SendMessageA(form->Jauge.Handle(), PBM_GETPOS, 0, 0),
              ::SendMessageA(form->Jauge.Handle(), PBM_GETRANGE, FALSE, 0));
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, main.Handle(), AdvanceStepMessage, AdvanceStepMessage, PM_REMOVE));
    EXPECT_FALSE(TakeQuit());
    EXPECT_EQ(ReadText(Globals().AppDir + "\\d.txt"), "data");
}

TEST_F(InstallWindow, CancelConfirmedDuringTheFilesRollsBackSilentlyAndEnds) {
    TForm main(nullptr);
    AddFile("first", "{app}\\1.txt");
    AddFile("second", "{app}\\2.txt");
    const std::string before = Before();
    mainAccepts = true;
    const auto form = MakeForm(main.Handle());
    form->Show();
    ::PostMessageA(form->Handle(), WM_CLOSE, 0, 0);  // handled at the first cancel point
    form->DoInstall();
    EXPECT_EQ(mainCloseQueries, 1);
    EXPECT_TRUE(form->CancelRequested);
    EXPECT_FALSE(form->Finished);
    EXPECT_TRUE(TakeQuit());
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, main.Handle(), AdvanceStepMessage, AdvanceStepMessage, PM_REMOVE));
    EXPECT_TRUE(prompt.Errors.empty());
    EXPECT_TRUE(prompt.Questions.empty());
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(InstallWindow, FailureShowsBothMessagesThenEnds) {
    Desc().DirEntries.push_back({"{win}\\blocked\\x"});
    WriteText(root / "win\\blocked", "");
    const auto form = MakeForm();
    prompt.Answers = {IDOK};
    form->DoInstall();
    ASSERT_EQ(prompt.Errors.size(), 1u);
    ASSERT_EQ(prompt.Questions.size(), 1u);
    EXPECT_EQ(prompt.Questions[0].Kind, mbError);
    EXPECT_TRUE(TakeQuit());
    EXPECT_FALSE(pelorin::DirExists(Globals().AppDir));
}

}  // namespace
}  // namespace pelorin::testing
