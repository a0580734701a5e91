// MsgBox and the standard error box, shown for real and answered from a helper
// thread: captions, icons, buttons, results and the state of the other windows.
#include <gtest/gtest.h>

#include "platform/win/Handles.h"
#include "setup/MsgBox.h"
#include "tests/e2e/driver/BoxAnswerer.h"

namespace pelorin {
namespace {

using driver::BoxAnswerer;
using driver::MessageBoxInfo;

WindowHandle MakeWindow(DWORD exStyle, DWORD style) {
    return WindowHandle(::CreateWindowExA(exStyle, "STATIC", "test window", style, 10, 10, 100, 50, nullptr, nullptr,
                                          nullptr, nullptr));
}

TEST(MsgBox, EachKindHasItsIconAndDefaultCaption) {
    const struct {
        MsgBoxKind kind;
        const char* caption;
        const char* icon;
    } kinds[] = {{mbInformation, "Information", "information"},
                 {mbConfirm, "Confirm", "question"},
                 {mbWarning, "Error", "exclamation"},
                 {mbError, "Error", "stop"}};
    for (const auto& kind : kinds) {
        BoxAnswerer answerer("OK");
        EXPECT_EQ(MsgBox("Text of the box.", "", kind.kind, MB_OK), IDOK);
        const MessageBoxInfo& box = answerer.Result();
        EXPECT_EQ(box.caption, kind.caption);
        EXPECT_EQ(box.icon, kind.icon) << kind.caption;
        EXPECT_EQ(box.text, "Text of the box.");
    }
}

TEST(MsgBox, GivenCaptionButtonsAndTheirResults) {
    {
        BoxAnswerer answerer("No");
        EXPECT_EQ(
            MsgBox("Setup is not complete.\r\n\r\nExit?", "Exit Setup Wizard", mbConfirm, MB_YESNO | MB_DEFBUTTON2),
            IDNO);
        const MessageBoxInfo& box = answerer.Result();
        EXPECT_EQ(box.caption, "Exit Setup Wizard");
        EXPECT_EQ(box.text, "Setup is not complete.\r\n\r\nExit?");
        EXPECT_EQ(box.buttons, (std::vector<std::string>{"Yes", "No"}));
    }
    {
        BoxAnswerer answerer("Yes");
        EXPECT_EQ(MsgBox("Overwrite?", "", mbConfirm, MB_YESNO), IDYES);
    }
    for (const auto& [button, result] :
         {std::pair<const char*, int>{"Abort", IDABORT}, {"Retry", IDRETRY}, {"Ignore", IDIGNORE}}) {
        BoxAnswerer answerer(button);
        EXPECT_EQ(MsgBox("Cannot copy.", "", mbError, MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), result);
        EXPECT_EQ(answerer.Result().buttons, (std::vector<std::string>{"Abort", "Retry", "Ignore"}));
    }
}

TEST(MsgBox, OtherWindowsAreDisabledAndLoweredOnlyWhileTheBoxIsOpen) {
    const WindowHandle normal = MakeWindow(0, WS_POPUP | WS_VISIBLE);
    const WindowHandle topMost = MakeWindow(WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE);
    const WindowHandle disabled = MakeWindow(0, WS_POPUP | WS_VISIBLE | WS_DISABLED);
    ASSERT_TRUE(normal && topMost && disabled);
    const auto isTopMost = [](HWND w) { return (::GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    ::SetActiveWindow(normal.get());

    bool normalEnabled = true;
    bool topMostEnabled = true;
    bool topMostStillTop = true;
    BoxAnswerer answerer("OK", [&](const MessageBoxInfo&) {
        normalEnabled = ::IsWindowEnabled(normal.get()) != FALSE;
        topMostEnabled = ::IsWindowEnabled(topMost.get()) != FALSE;
        topMostStillTop = isTopMost(topMost.get());
    });
    MsgBox("Look around.", "", mbInformation, MB_OK);
    ASSERT_NE(answerer.Result().handle, nullptr);

    EXPECT_FALSE(normalEnabled);
    EXPECT_FALSE(topMostEnabled);
    EXPECT_FALSE(topMostStillTop);

    EXPECT_TRUE(::IsWindowEnabled(normal.get()));
    EXPECT_TRUE(::IsWindowEnabled(topMost.get()));
    EXPECT_FALSE(::IsWindowEnabled(disabled.get()));  // was disabled before: stays so
    EXPECT_TRUE(isTopMost(topMost.get()));
    EXPECT_EQ(::GetActiveWindow(), normal.get());
}

TEST(ShowErrorBox, AddsTheFullStopAndUsesTheApplicationTitle) {
    SetApplicationTitle("Setup Wizard");
    for (const auto& [message, shown] : {std::pair<const char*, const char*>{"Disk full", "Disk full."},
                                         {"Ends already.", "Ends already."},
                                         {"", "."}}) {
        BoxAnswerer answerer("OK");
        ShowErrorBox(message);
        const MessageBoxInfo& box = answerer.Result();
        EXPECT_EQ(box.caption, "Setup Wizard");
        EXPECT_EQ(box.text, shown);
        EXPECT_EQ(box.icon, "stop");
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    }
}

}  // namespace
}  // namespace pelorin
