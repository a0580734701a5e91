// TBrowseFolder against the shell's real folder browser under Wine: preselection,
// centring, confirmed and cancelled browses, the extra button in both kinds and its sync
// with OK, the status line, and events that fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

#include "core/Exception.h"
#include "setup/wizard/BrowseFolder.h"
#include "setup/wizard/StatusPath.h"
#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/support/ScratchDir.h"
#include "tests/win/browse/WindowScript.h"
#include "ui/Form.h"

namespace pelorin {
namespace {

using testing::ControlById;
using testing::OwnDialog;
using testing::WaitUntil;
using testing::WindowScript;

constexpr int kCustomButtonId = 255;

// A visible form that owns the dialog and is the foreground window when it opens.
class Owner {
public:
    Owner() {
        ::SetWindowPos(form_.Handle(), nullptr, 100, 60, 640, 480, SWP_NOZORDER);
        form_.Show();
        ::SetForegroundWindow(form_.Handle());
    }
    HWND Handle() const { return form_.Handle(); }

private:
    TForm form_{nullptr};
};

RECT ClientRectOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void SelectPath(HWND dialog, const std::string& path) {
    ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

// The shell may still be filling or rebuilding its tree (other programs change folders), so
// the selection is asked again until the browser reports it.
::testing::AssertionResult SelectUntilReported(HWND dialog, const TBrowseFolder& bf, const std::string& path) {
    if (WaitUntil(
            [&] {
                SelectPath(dialog, path);
                return bf.SelectedPath() == path;
            },
            15))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the browser did not select " << path << ", it shows " << bf.SelectedPath();
}

// Selects "My Computer", an item without a file-system path.
void SelectMyComputer(HWND dialog) {
    const ComInit com;
    ITEMIDLIST* list = nullptr;
    ASSERT_TRUE(SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list)));
    ::SendMessageA(dialog, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(list));
    ::CoTaskMemFree(list);
}

void Press(HWND dialog, int id) { EXPECT_TRUE(driver::PressButton(ControlById(dialog, id))) << "button " << id; }

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(ControlById(dialog, id)) != FALSE; }

class BrowseFolderTest : public ::testing::Test {
protected:
    Owner owner_;
    testing::ScratchDir scratch_{"pelorin-browse"};
    TBrowseFolder bf_{owner_.Handle()};
};

TEST_F(BrowseFolderTest, PropertiesStartAtTheirDefaults) {
    EXPECT_EQ("", bf_.Directory());
    EXPECT_EQ("", bf_.Title());
    EXPECT_EQ(static_cast<TBrowseInfoFlagSet>(bfFileSysDirsOnly | bfStatusText), bf_.Flags());
    EXPECT_FALSE(bf_.ShowPathInStatusArea());
    EXPECT_EQ(foDesktopExpanded, bf_.RootFolder());
    EXPECT_FALSE(bf_.CustomButtonVisible());
    EXPECT_TRUE(bf_.CustomButtonEnabled());
    EXPECT_EQ("", bf_.CustomButtonCaption());
    EXPECT_EQ(75, bf_.CustomButtonWidth());
    EXPECT_EQ(btPushButton, bf_.CustomButtonType());
    EXPECT_FALSE(bf_.CustomButtonChecked());
    EXPECT_FALSE(bf_.SyncCustomButton());
    EXPECT_EQ(nullptr, bf_.DialogHandle());
    bf_.SetCustomButtonWidth(-5);
    EXPECT_EQ(75, bf_.CustomButtonWidth());
    bf_.SetCustomButtonWidth(120);
    bf_.SetCustomButtonWidth(0);
    EXPECT_EQ(75, bf_.CustomButtonWidth());
}

TEST_F(BrowseFolderTest, ConfirmedBrowsePreselectsCentresAndReportsTheFolder) {
    const std::string folder = scratch_ / "Chosen";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    bf_.SetDirectory(folder);
    bf_.SetTitle("Browse Folders");
    int initialized = 0;
    HWND dialogSeen = nullptr;
    bf_.OnInitialized = [&](TComponent& sender, HWND dialog) {
        EXPECT_EQ(&bf_, &sender);
        ++initialized;
        dialogSeen = dialog;
        EXPECT_EQ(dialog, bf_.DialogHandle());
    };
    std::string reported;
    bool hadItem = false;
    bf_.OnSelectionChanged = [&](TComponent&, HWND, LPCITEMIDLIST item, const std::string& directory) {
        reported = directory;
        hadItem = item != nullptr;
    };
    RECT ownerRect{};
    ::GetWindowRect(owner_.Handle(), &ownerRect);
    WindowScript script(OwnDialog(), [&](HWND dialog) {
        RECT r{};
        ::GetWindowRect(dialog, &r);
        EXPECT_EQ(ownerRect.left + (ownerRect.right - ownerRect.left) / 2 - (r.right - r.left) / 2, r.left);
        EXPECT_EQ(ownerRect.top + (ownerRect.bottom - ownerRect.top) / 4, r.top);
        EXPECT_EQ(owner_.Handle(), ::GetWindow(dialog, GW_OWNER));
        EXPECT_EQ(nullptr, ControlById(dialog, kCustomButtonId)) << "no extra button unless asked for";
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(bf_.Execute());
    EXPECT_TRUE(script.Found());
    EXPECT_EQ(1, initialized);
    EXPECT_EQ(folder, reported);
    EXPECT_TRUE(hadItem);
    EXPECT_EQ(folder, bf_.Directory());
    EXPECT_EQ(folder, bf_.SelectedPath());
    // The display name of the chosen item: Wine gives the full path, Windows the name.
    const std::string name = bf_.DisplayName();
    EXPECT_EQ("Chosen", name.substr(name.size() - std::min<std::size_t>(name.size(), 6)));
    EXPECT_EQ(nullptr, bf_.DialogHandle());
    EXPECT_FALSE(::IsWindow(dialogSeen));
}

TEST_F(BrowseFolderTest, CancelledBrowseKeepsTheEarlierFolder) {
    const std::string first = scratch_ / "First", other = scratch_ / "Other";
    ::CreateDirectoryA(first.c_str(), nullptr);
    ::CreateDirectoryA(other.c_str(), nullptr);
    bf_.SetDirectory(first);
    {
        WindowScript confirm(OwnDialog(), [&](HWND dialog) { Press(dialog, IDOK); });
        ASSERT_TRUE(bf_.Execute());
    }
    std::string selectedWhileOpen;
    WindowScript cancel(OwnDialog(), [&](HWND dialog) {
        EXPECT_TRUE(SelectUntilReported(dialog, bf_, other));
        selectedWhileOpen = bf_.SelectedPath();
        Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(bf_.Execute());
    EXPECT_EQ(other, selectedWhileOpen);
    EXPECT_EQ(first, bf_.Directory());
}

TEST_F(BrowseFolderTest, PreselectionSkipsFilesAndMissingFolders) {
    const std::string file = scratch_ / "plain.txt";
    std::ofstream(file) << "not a folder";
    for (const std::string& path : {file, scratch_ / "missing"}) {
        bf_.SetDirectory(path);
        std::string pathAtStart = "(not initialised)";
        bf_.OnInitialized = [&](TComponent&, HWND) { pathAtStart = bf_.SelectedPath(); };
        WindowScript cancel(OwnDialog(), [&](HWND dialog) { Press(dialog, IDCANCEL); });
        EXPECT_FALSE(bf_.Execute());
        EXPECT_NE(path, pathAtStart);
        EXPECT_NE("(not initialised)", pathAtStart);
        EXPECT_EQ(path, bf_.Directory());
    }
}

TEST_F(BrowseFolderTest, PushButtonIsPlacedClickedChangedLiveAndFollowsOK) {
    const std::string folder = scratch_ / "Folder";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    bf_.SetDirectory(folder);
    bf_.SetCustomButtonVisible(true);
    bf_.SetCustomButtonCaption("&Extra");
    bf_.SetCustomButtonWidth(90);
    bf_.SetSyncCustomButton(true);
    std::atomic<int> clicks{0};
    bf_.OnCustomButtonClick = [&](TComponent& sender, HWND dialog) {
        EXPECT_EQ(&bf_, &sender);
        EXPECT_EQ(bf_.DialogHandle(), dialog);
        bf_.SetCustomButtonCaption("Clicked");
        bf_.SetCustomButtonWidth(110);
        ++clicks;
    };
    WindowScript script(OwnDialog(), [&](HWND dialog) {
        const HWND button = ControlById(dialog, kCustomButtonId);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ(bf_.CustomButtonHandle(), button);
        EXPECT_EQ("&Extra", driver::GetText(button));
        const RECT r = ClientRectOf(button);
        const RECT expected{12, 270, 102, 293};
        EXPECT_TRUE(::EqualRect(&expected, &r)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        const LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
        EXPECT_EQ(BS_PUSHBUTTON, style & BS_TYPEMASK);
        EXPECT_NE(0, style & WS_TABSTOP);
        EXPECT_NE(0, style & WS_CLIPSIBLINGS);
        EXPECT_TRUE(WaitUntil([&] {
            return ::SendMessageA(button, WM_GETFONT, 0, 0) ==
                   reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT));
        }));
        EXPECT_TRUE(::IsWindowEnabled(button));

        Press(dialog, kCustomButtonId);
        EXPECT_TRUE(WaitUntil([&] { return clicks == 1; }));
        EXPECT_EQ("Clicked", driver::GetText(button));
        EXPECT_EQ(110, ClientRectOf(button).right - ClientRectOf(button).left);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the extra button does not close the dialog";

        EXPECT_TRUE(WaitUntil([&] {
            SelectMyComputer(dialog);
            return bf_.SelectedPath().empty();
        }));
        EXPECT_FALSE(Enabled(dialog, IDOK));
        EXPECT_FALSE(::IsWindowEnabled(button));
        // The operation for events enables OK, and the extra button with it.
        bf_.EnableOK(true);
        EXPECT_TRUE(Enabled(dialog, IDOK));
        EXPECT_TRUE(::IsWindowEnabled(button));
        Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(bf_.Execute());
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(nullptr, bf_.CustomButtonHandle());
}

TEST_F(BrowseFolderTest, CheckBoxStateIsReadBackOnOKOnly) {
    bf_.SetCustomButtonVisible(true);
    bf_.SetCustomButtonType(btCheckBox);
    bf_.SetCustomButtonCaption("Create a shortcut");
    bf_.SetCustomButtonChecked(true);
    {
        WindowScript script(OwnDialog(), [&](HWND dialog) {
            const HWND box = ControlById(dialog, kCustomButtonId);
            ASSERT_NE(nullptr, box);
            EXPECT_EQ(BS_AUTOCHECKBOX, ::GetWindowLongPtrA(box, GWL_STYLE) & BS_TYPEMASK);
            EXPECT_EQ(BST_CHECKED, ::SendMessageA(box, BM_GETCHECK, 0, 0));
            Press(dialog, kCustomButtonId);
            EXPECT_TRUE(WaitUntil([&] { return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
            EXPECT_TRUE(bf_.CustomButtonChecked()) << "read back only when OK is pressed";
            EXPECT_TRUE(SelectUntilReported(dialog, bf_, scratch_.Path()));
            Press(dialog, IDOK);
        });
        EXPECT_TRUE(bf_.Execute());
    }
    EXPECT_FALSE(bf_.CustomButtonChecked());

    bf_.SetCustomButtonEnabled(false);
    WindowScript script(OwnDialog(), [&](HWND dialog) {
        const HWND box = ControlById(dialog, kCustomButtonId);
        EXPECT_FALSE(::IsWindowEnabled(box)) << "CustomButtonEnabled false, and no sync";
        EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(box, BM_GETCHECK, 0, 0));
        ::SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
        Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(bf_.Execute());
    EXPECT_FALSE(bf_.CustomButtonChecked());
}

TEST_F(BrowseFolderTest, StatusLineShowsTheShortenedPath) {
    std::string folder = scratch_.Path();
    for (const char* part : {"Program Files", "Common Files", "System", "Ole"}) {
        folder += std::string("\\") + part;
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string shown = ShortenStatusPath(folder);
    ASSERT_GT(folder.size(), StatusPathMaxLength);
    ASSERT_LT(shown.size(), folder.size());
    bf_.SetShowPathInStatusArea(true);
    WindowScript script(OwnDialog(), [&](HWND dialog) {
        EXPECT_TRUE(SelectUntilReported(dialog, bf_, folder));
        const bool found = WaitUntil([&] {
            for (const driver::ControlInfo& control : driver::ListControls(dialog))
                if (control.text == shown) return true;
            return false;
        });
        EXPECT_TRUE(found) << "no control shows " << shown;
        Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(bf_.Execute());
}

TEST_F(BrowseFolderTest, FailingEventClosesTheDialogAndIsRaisedAfterwards) {
    std::atomic<HWND> dialogSeen{nullptr};
    bf_.OnInitialized = [&](TComponent&, HWND dialog) {
        dialogSeen = dialog;
        throw Exception("the event failed");
    };
    std::atomic<bool> returned{false};
    // Should the dialog stay open, the test closes it rather than waiting for ever.
    std::thread guard([&] {
        if (!WaitUntil([&] { return returned.load(); }, 15)) ::PostMessageA(dialogSeen, WM_CLOSE, 0, 0);
    });
    try {
        bf_.Execute();
        ADD_FAILURE() << "Execute did not raise the event's error";
    } catch (const Exception& e) {
        EXPECT_STREQ("the event failed", e.what());
    }
    returned = true;
    guard.join();
    EXPECT_NE(nullptr, dialogSeen.load());
    EXPECT_FALSE(::IsWindow(dialogSeen));
    EXPECT_EQ(nullptr, bf_.DialogHandle());
}

}  // namespace
}  // namespace pelorin
