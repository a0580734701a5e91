// TMainForm under Wine: the gradient palette (or none), caption and system menu, the close
// query's three answers, minimise and restore of owned forms, and AdvanceStep once only.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "setup/Background.h"
#include "setup/Globals.h"
#include "setup/MainForm.h"
#include "ui/Application.h"

namespace pelorin {
namespace {

void Pump() {
    for (int i = 0; i < 20; ++i) {
        ProcessMessages();
        ::Sleep(5);
    }
}

class Background : public ::testing::Test {
protected:
    void SetUp() override {
        SetupHeader& header = Globals().Setup.Header;
        header = SetupHeader{};
        header.AppName = "Widget";
        header.BackColor = 0x00FF8040;  // blue 0xFF, green 0x80, red 0x40
    }
    void TearDown() override {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }
};

TEST_F(Background, PaletteHoldsTheScaledColoursUnlessTheBackgroundIsSolid) {
    {
        TMainForm form;
        const HPALETTE palette = form.GetPalette();
        ASSERT_NE(palette, nullptr);
        PALETTEENTRY entries[65] = {};
        EXPECT_EQ(::GetPaletteEntries(palette, 0, 65, entries), 64u);
        for (int i = 0; i < 64; i += 21) {
            const COLORREF want = ScaleColor(0x00FF8040, 255 - 4 * i);
            EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue), want) << i;
            EXPECT_EQ(entries[i].peFlags, 0);
        }
        EXPECT_EQ(form.Caption(), "Widget - Setup");
    }
    Globals().Setup.Header.Flags = SetupHeader::SolidBackground;
    TMainForm solid;
    EXPECT_EQ(solid.GetPalette(), nullptr);
}

TEST_F(Background, SystemMenuEndsWithTheSeparatorAndTheAboutEntry) {
    TMainForm form;
    const HMENU menu = ::GetSystemMenu(form.Handle(), FALSE);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(::GetMenuItemID(menu, count - 2), kSeparatorCommand);
    EXPECT_EQ(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), kAboutCommand);
    char text[64] = {};
    ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Pelorin Wizard...");
}

TEST_F(Background, CloseQueryRefusesWhileProgramsRunAcceptsAfterTheInstallationAndAsksBefore) {
    TMainForm form;
    int asked = 0;
    bool answer = false;
    form.SetAskExit([&] {
        ++asked;
        return answer;
    });
    form.RunningPrograms = true;
    form.SetupStep = SetupStage::FinalPage;
    EXPECT_FALSE(form.CloseMainQuery());
    form.RunningPrograms = false;
    form.SetupStep = SetupStage::Installation;
    EXPECT_FALSE(form.CloseMainQuery());  // asked, answered No
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(form.CloseAccepted);
    form.SetupStep = SetupStage::FinalPage;
    EXPECT_TRUE(form.CloseMainQuery());  // without a question
    EXPECT_EQ(asked, 1);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // closing ends the program
}

TEST_F(Background, FirstActivationSendsAdvanceStepOnce) {
    TMainForm form;
    int steps = 0;
    form.OnAdvanceStep = [&](TComponent&) { ++steps; };
    form.Show();
    Pump();
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(form.StartedOnce);
    form.Hide();
    form.Show();
    ::SetActiveWindow(form.Handle());
    Pump();
    EXPECT_EQ(steps, 1);
}

TEST_F(Background, MinimisingHidesTheOwnedFormsAndRestoringShowsOnlyThose) {
    TMainForm form;
    form.Show();
    TForm shown(form.Handle(), bsDialog);
    TForm hidden(form.Handle(), bsDialog);
    shown.Show();
    Pump();
    ::SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(TApplication::Instance().Minimized());
    EXPECT_FALSE(shown.Visible());
    ::SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(TApplication::Instance().Minimized());
    EXPECT_TRUE(shown.Visible());
    EXPECT_FALSE(hidden.Visible());  // hidden before minimising: stays hidden
    EXPECT_TRUE(::IsZoomed(form.Handle()));
}

}  // namespace
}  // namespace pelorin
