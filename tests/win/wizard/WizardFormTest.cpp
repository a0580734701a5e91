// The setup wizard as a user walks it: captions and buttons of every page, Back and Next, the
// answers' refusals through the wizard's boxes, the two questions on real drives, typing limits,
// the close query through the background window and the hand-over after Install and Finish.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "setup/Globals.h"
#include "setup/install/InstallForm.h"
#include "setup/wizard/Wizard.h"
#include "tests/win/wizard/SampleSetup.h"
#include "ui/Application.h"

namespace pelorin {
namespace {

std::string TextOf(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Box {
    std::string text, caption;
    MsgBoxKind kind;
    UINT buttons;
};

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseSampleSetup();
        Make();
    }
    void Make() {
        wizard.reset();
        wizard = std::make_unique<TWizardForm>(
            main.Handle(),
            [this] {
                ++mainQueries;
                closingByCodeDuringQuery = wizard->ClosingByCode;
                return mainAccepts;
            },
            nullptr);
        wizard->SetMsgBox([this](const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) {
            boxes.push_back({text, caption, kind, buttons});
            if (replies.empty()) return IDOK;
            const int reply = replies.front();
            replies.pop_front();
            return reply;
        });
    }
    void TearDown() override {
        wizard.reset();
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    }
    // Enters text in the page's edit and presses Next; true when the wizard moved on.
    bool NextWith(TEdit& edit, const std::string& text) {
        const WizardPage page = wizard->CurPage;
        edit.SetText(text);
        wizard->NextButton.Click();
        return wizard->CurPage != page;
    }
    void GoTo(WizardPage page) {
        while (wizard->CurPage < page) wizard->NextButton.Click();
    }
    int AdvanceStepsPosted() {
        int count = 0;
        MSG msg;
        while (::PeekMessageA(&msg, main.Handle(), AdvanceStepMessage, AdvanceStepMessage, PM_REMOVE)) ++count;
        return count;
    }

    TForm main{nullptr};
    std::unique_ptr<TWizardForm> wizard;
    std::vector<Box> boxes;
    std::deque<int> replies;
    int mainQueries = 0;
    bool mainAccepts = false;
    bool closingByCodeDuringQuery = false;
};

TEST_F(WizardTest, FirstShowingFillsDefaultsAndEachPageHasItsCaptionsAndButtons) {
    ASSERT_EQ(::GetWindow(wizard->Handle(), GW_OWNER), main.Handle());
    EXPECT_EQ(TextOf(wizard->Handle()), "Pelorin Wizard");
    wizard->Show();
    EXPECT_EQ(wizard->DirEdit.Text(), "C:\\Program Files\\Zel\\Writer");
    EXPECT_EQ(wizard->GroupEdit.Text(), "Zel Tools");
    EXPECT_EQ(TextOf(wizard->lp.Handle()), "Zel Writer ");
    struct Expected {
        const char *caption, *next, *cancel;
        bool back, cancelVisible;
        HWND focus;
    };
    const Expected pages[] = {
        {"Welcome", "&Next >", "Cancel", false, true, nullptr},
        {"License Agreement", "&Yes", "&No", true, true, wizard->licensememo.Handle()},
        {"Destination Directory", "&Next >", "Cancel", true, true, wizard->DirEdit.Handle()},
        {"Program Icons", "&Next >", "Cancel", true, true, wizard->GroupEdit.Handle()},
        {"Ready", "&Install", "Cancel", true, true, nullptr},
        {"Setup successful", "&Finish", "Cancel", false, false, wizard->NextButton.Handle()},
    };
    for (int page = 0; page < 6; ++page) {
        wizard->SetCurPage(static_cast<WizardPage>(page));
        const Expected& e = pages[page];
        EXPECT_EQ(TextOf(wizard->Handle()), e.caption);
        EXPECT_EQ(TextOf(wizard->NextButton.Handle()), e.next) << page;
        EXPECT_EQ(TextOf(wizard->CancelButton.Handle()), e.cancel) << page;
        EXPECT_EQ(TextOf(wizard->BackButton.Handle()), "< &Back");
        EXPECT_EQ(::IsWindowEnabled(wizard->BackButton.Handle()) != FALSE, e.back) << page;
        EXPECT_EQ(::IsWindowVisible(wizard->CancelButton.Handle()) != FALSE, e.cancelVisible) << page;
        if (e.focus) {
            EXPECT_EQ(::GetFocus(), e.focus) << page;
        }
        EXPECT_EQ(::IsWindowVisible(wizard->DirEdit.Handle()) != FALSE, page == 2);
    }
    // A later showing keeps what the user had.
    wizard->Hide();
    wizard->DirEdit.SetText("D:\\Mine");
    wizard->SetCurPage(WizardPage::Icons);
    wizard->Show();
    EXPECT_EQ(wizard->DirEdit.Text(), "D:\\Mine");
    EXPECT_EQ(wizard->CurPage, WizardPage::Icons);
}

TEST_F(WizardTest, PageTextsCarryTheNamesAndTheLicence) {
    wizard->Show();
    EXPECT_NE(wizard->RWelcome.PlainContent().find("This wizard will install Zel Writer 2.1 onto"), std::string::npos);
    EXPECT_NE(wizard->RWelcome.PlainContent().find("Welcome to the Zel Writer Setup Wizard."), std::string::npos);
    EXPECT_NE(wizard->RFin.PlainContent().find("successfully installed Zel Writer onto"), std::string::npos);
    EXPECT_EQ(wizard->licensememo.PlainContent().substr(0, 17), "License Agreement");
    EXPECT_FALSE(::IsWindowEnabled(wizard->Rd.Handle()));
    EXPECT_TRUE(::IsWindowEnabled(wizard->licensememo.Handle()));

    Globals().Setup.License = std::string("{\\rtf1 Terms for [name]: \\b none\\b0 .}");
    Globals().Setup.Header.AppName = "Brace {Name}";
    Make();
    EXPECT_EQ(wizard->licensememo.PlainContent().substr(0, 21), "Terms for [name]: non");
    EXPECT_NE(wizard->Rd.PlainContent().find("install Brace {Name} to."), std::string::npos);
}

TEST_F(WizardTest, BackAndNextWalkThePagesKeepingAnswers) {
    wizard->Show();
    GoTo(WizardPage::Ready);
    EXPECT_EQ(wizard->CurPage, WizardPage::Ready);
    EXPECT_TRUE(boxes.empty());
    wizard->BackButton.Click();
    EXPECT_EQ(wizard->CurPage, WizardPage::Icons);
    EXPECT_EQ(wizard->GroupEdit.Text(), "Zel Tools");
    wizard->SetCurPage(WizardPage::Welcome);
    wizard->BackButton.Click();
    EXPECT_EQ(wizard->CurPage, WizardPage::Welcome);
    wizard->SetCurPage(WizardPage::Finished);
    wizard->BackButton.Click();
    EXPECT_EQ(wizard->CurPage, WizardPage::Finished);
}

TEST_F(WizardTest, DestinationRefusalsOnRealDrivesLeaveThePage) {
    wizard->Show();
    wizard->SetCurPage(WizardPage::Destination);
    EXPECT_FALSE(NextWith(wizard->DirEdit, "C:\\"));
    EXPECT_FALSE(NextWith(wizard->DirEdit, "C:\\A,B"));
    EXPECT_FALSE(NextWith(wizard->DirEdit, "\\\\server\\share"));
    // A drive letter Wine has no drive for.
    EXPECT_FALSE(NextWith(wizard->DirEdit, "  Q:\\Zel  "));
    EXPECT_EQ(wizard->DirEdit.Text(), "Q:\\Zel");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "You must enter a full path with drive letter; for example:\r\nC:\\ZEL");
    EXPECT_EQ(boxes[3].text, "The drive you selected does not exist. Please select another.");
    for (const Box& box : boxes) {
        EXPECT_EQ(box.kind, mbWarning);
        EXPECT_EQ(box.caption, "");  // the kind's own caption, "Error"
        EXPECT_EQ(box.buttons, static_cast<UINT>(MB_OK));
    }
    EXPECT_EQ(wizard->CurPage, WizardPage::Destination);
    // A fresh folder on the real C: drive, lower-case letter, trailing backslash.
    EXPECT_TRUE(NextWith(wizard->DirEdit, "c:\\Zel Fresh Folder\\"));
    EXPECT_EQ(wizard->DirEdit.Text(), "c:\\Zel Fresh Folder");
    EXPECT_EQ(wizard->CurPage, WizardPage::Icons);
}

TEST_F(WizardTest, ExistingDirectoryIsAskedAndNoKeepsThePage) {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    wizard->Show();
    wizard->SetCurPage(WizardPage::Destination);
    replies = {IDNO};
    EXPECT_FALSE(NextWith(wizard->DirEdit, windows));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Directory Exists");
    EXPECT_EQ(boxes[0].text, std::string("Setup Wizard has detected that the directory ") + windows +
                                 " already exists.\r\n\r\nWould you like to install your software to that directory "
                                 "anyway?");
    EXPECT_EQ(boxes[0].kind, mbConfirm);
    EXPECT_EQ(boxes[0].buttons, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON1));
    replies = {IDYES};
    EXPECT_TRUE(NextWith(wizard->DirEdit, windows));
}

TEST_F(WizardTest, NotEnoughSpaceIsAskedAgainstTheRealDrive) {
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA("C:\\", &available, &total, &free));
    if (free.QuadPart >= 0xFFFFFFFFull) GTEST_SKIP() << "drive C: has more free space than a 32-bit size can ask";
    Globals().Setup.TotalSize = -1;  // 4 GB - 1 as the comparison reads it
    Make();
    wizard->Show();
    wizard->SetCurPage(WizardPage::Destination);
    replies = {IDNO};
    EXPECT_FALSE(NextWith(wizard->DirEdit, "C:\\Zel Fresh Folder"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Not Enough Disk Space");
    EXPECT_EQ(boxes[0].buttons, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_NE(boxes[0].text.find("at least 4194303 KB"), std::string::npos) << boxes[0].text;
}

TEST_F(WizardTest, GroupRefusalsAndTrimming) {
    wizard->Show();
    wizard->SetCurPage(WizardPage::Icons);
    EXPECT_FALSE(NextWith(wizard->GroupEdit, "   "));
    EXPECT_FALSE(NextWith(wizard->GroupEdit, "A/B"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "You must choose a group name.");
    EXPECT_TRUE(NextWith(wizard->GroupEdit, "  Zel Group  "));
    EXPECT_EQ(wizard->GroupEdit.Text(), "Zel Group");
}

TEST_F(WizardTest, TypingLimitAppliesToTypingOnly) {
    wizard->Show();
    wizard->SetCurPage(WizardPage::Destination);
    const std::string longPath = "C:\\" + std::string(70, 'x');
    wizard->DirEdit.SetText(longPath);
    EXPECT_EQ(wizard->DirEdit.Text(), longPath);
    wizard->DirEdit.SetText("C:\\");
    for (int i = 0; i < 70; ++i) ::SendMessageA(wizard->DirEdit.Handle(), WM_CHAR, 'y', 1);
    EXPECT_EQ(wizard->DirEdit.Text().size(), 63u);
}

TEST_F(WizardTest, CloseGoesThroughTheBackgroundWindow) {
    wizard->Show();
    wizard->SetCurPage(WizardPage::License);
    wizard->CancelButton.Click();  // "&No" to the licence
    EXPECT_EQ(mainQueries, 1);
    EXPECT_TRUE(closingByCodeDuringQuery);
    EXPECT_FALSE(wizard->ClosingByCode);
    EXPECT_TRUE(wizard->Visible());
    EXPECT_EQ(wizard->CurPage, WizardPage::License);
    // Escape presses Cancel where it is visible, and nothing on the final page.
    ::SendMessageA(wizard->Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(mainQueries, 2);
    wizard->SetCurPage(WizardPage::Finished);
    ::SendMessageA(wizard->Handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(mainQueries, 2);
    mainAccepts = true;
    ::SendMessageA(wizard->Handle(), WM_CLOSE, 0, 0);  // the close box
    EXPECT_EQ(mainQueries, 3);
    EXPECT_FALSE(wizard->Visible());
}

TEST_F(WizardTest, InstallAndFinishHideTheWizardAndPostAdvanceStep) {
    wizard->Show();
    GoTo(WizardPage::Ready);
    AdvanceStepsPosted();
    wizard->NextButton.Click();
    EXPECT_FALSE(wizard->Visible());
    EXPECT_EQ(mainQueries, 0);
    EXPECT_FALSE(wizard->ClosingByCode);
    EXPECT_EQ(AdvanceStepsPosted(), 1);
    wizard->SetCurPage(WizardPage::Finished);
    wizard->Show();
    EXPECT_EQ(::GetFocus(), wizard->NextButton.Handle());
    ::SendMessageA(wizard->Handle(), WM_COMMAND, IDOK, 0);  // Enter
    EXPECT_FALSE(wizard->Visible());
    EXPECT_EQ(AdvanceStepsPosted(), 1);
    EXPECT_EQ(mainQueries, 0);
}

// Presses a button of the first dialog box this process shows, from a thread of its own.
class DialogPresser {
public:
    explicit DialogPresser(int button) : thread_([this, button] { Run(button); }) {}
    ~DialogPresser() { thread_.join(); }
    bool Pressed() const { return pressed_; }

private:
    static BOOL CALLBACK Find(HWND window, LPARAM found) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(window, &process);
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (process != ::GetCurrentProcessId() || std::string(name) != "#32770" || !::IsWindowVisible(window))
            return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    void Run(int button) {
        for (int i = 0; i < 200 && !pressed_; ++i) {
            HWND dialog = nullptr;
            ::EnumWindows(&Find, reinterpret_cast<LPARAM>(&dialog));
            if (dialog) {
                ::Sleep(300);  // let the browser fill its tree and apply the preselection
                ::PostMessageA(dialog, WM_COMMAND, button, 0);
                pressed_ = true;
            }
            ::Sleep(50);
        }
    }
    std::atomic<bool> pressed_{false};
    std::thread thread_;
};

TEST_F(WizardTest, FolderBrowseFillsTheEditOnlyWithAConfirmedFolder) {
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    wizard->Show();
    wizard->SetCurPage(WizardPage::Destination);
    wizard->DirEdit.SetText("C:\\Typed");
    {
        DialogPresser cancel(IDCANCEL);
        wizard->bs.Click();
    }
    EXPECT_EQ(wizard->DirEdit.Text(), "C:\\Typed");  // nothing browsed yet: the edit stays
    wizard->bf.SetDirectory(windows);                // preselected, then confirmed
    {
        DialogPresser ok(IDOK);
        wizard->bs.Click();
    }
    EXPECT_EQ(wizard->DirEdit.Text(), windows);
    wizard->DirEdit.SetText("C:\\Typed");
    {
        DialogPresser cancel(IDCANCEL);
        wizard->bs.Click();
    }
    EXPECT_EQ(wizard->DirEdit.Text(), windows);  // the last confirmed folder comes back
}

}  // namespace
}  // namespace pelorin
