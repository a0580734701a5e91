// TKRichEdit in a real rich edit control: RichLines loads once per distinct source, Version
// stays, and bold and coloured text survive a change of border, scroll bars and parent.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include "components/KRichEdit.h"
#include "ui/Form.h"

namespace pelorin {
namespace {

const char* const kSample =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 MS Sans Serif;}}{\\colortbl ;\\red0\\green0\\blue128;}"
    "\\f0\\fs16 plain \\b bold\\b0  \\cf1 navy\\cf0\\par}";

// The character format of the text from first to last (exclusive).
CHARFORMATA FormatOf(const TKRichEdit& edit, int first, int last) {
    CHARRANGE range{first, last};
    ::SendMessageA(edit.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    ::SendMessageA(edit.Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

void ExpectSampleFormatting(const TKRichEdit& edit) {
    EXPECT_EQ(edit.PlainContent().substr(0, 15), "plain bold navy");
    EXPECT_FALSE(FormatOf(edit, 0, 5).dwEffects & CFE_BOLD);
    EXPECT_TRUE(FormatOf(edit, 6, 10).dwEffects & CFE_BOLD);
    const CHARFORMATA navy = FormatOf(edit, 11, 15);
    EXPECT_FALSE(navy.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ(navy.crTextColor, RGB(0, 0, 128));
    EXPECT_FALSE(navy.dwEffects & CFE_BOLD);
}

struct RichEditTest : ::testing::Test {
    TForm form{nullptr, bsDialog};
    TKRichEdit& edit = form.Add<TKRichEdit>(TControl::Bounds{8, 8, 200, 80});
};

TEST_F(RichEditTest, RichLinesLoadsEachDistinctSourceOnce) {
    EXPECT_EQ(edit.RichLines(), "None");
    EXPECT_EQ(edit.PlainContent(), "");
    edit.SetRichLines("None");  // the same source: nothing is loaded
    EXPECT_EQ(edit.PlainContent(), "");
    edit.SetRichLines(kSample);
    ExpectSampleFormatting(edit);
    edit.SetText("typed");
    edit.SetRichLines(kSample);
    EXPECT_EQ(edit.PlainContent(), "typed");
    EXPECT_EQ(edit.RichLines(), kSample);  // what was assigned, not what the control holds
    edit.SetRichLines("{\\rtf1 other}");
    EXPECT_EQ(edit.PlainContent(), "other");
    edit.SetPlainText(true);
    edit.SetRichLines("{\\b kept as typed}");
    EXPECT_EQ(edit.PlainContent(), "{\\b kept as typed}");
}

TEST_F(RichEditTest, VersionStaysWhateverIsAssigned) {
    EXPECT_EQ(edit.Version(), "1.00");
    edit.SetVersion("2.50");
    EXPECT_EQ(edit.Version(), "1.00");
}

TEST_F(RichEditTest, FormattingSurvivesReCreation) {
    edit.SetRichLines(kSample);
    const HWND before = edit.Handle();
    edit.SetBorderStyle(bsNone);
    EXPECT_NE(edit.Handle(), before);  // really a new window
    EXPECT_EQ(::GetWindowLongPtrA(edit.Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    ExpectSampleFormatting(edit);
    edit.SetScrollBars(ssVertical);
    ExpectSampleFormatting(edit);

    TForm other(nullptr, bsDialog);
    edit.SetParent(other);
    EXPECT_EQ(::GetParent(edit.Handle()), other.Handle());
    ExpectSampleFormatting(edit);
    edit.SetParent(form);  // back before `other` goes
    ExpectSampleFormatting(edit);
}

TEST_F(RichEditTest, PlainTextModeAndSettingsComeBackAfterReCreation) {
    edit.SetPlainText(true);
    edit.SetReadOnly(true);
    edit.SetMaxLength(10);
    edit.SetColor(RGB(192, 192, 192));
    edit.SetRichLines("line {one}");
    edit.SetBorderStyle(bsNone);
    EXPECT_TRUE(edit.PlainText());
    EXPECT_EQ(edit.PlainContent(), "line {one}");
    EXPECT_TRUE(::GetWindowLongPtrA(edit.Handle(), GWL_STYLE) & ES_READONLY);
    // The control counts its closing paragraph mark in the limit it reports.
    EXPECT_LE(::SendMessageA(edit.Handle(), EM_GETLIMITTEXT, 0, 0), 11);
    EXPECT_EQ(::SendMessageA(edit.Handle(), EM_GETEVENTMASK, 0, 0), 0x002C0001);
    // Setting the colour returns the previous one: the new window took the stored colour.
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageA(edit.Handle(), EM_SETBKGNDCOLOR, 0, RGB(192, 192, 192))),
              RGB(192, 192, 192));
}

}  // namespace
}  // namespace pelorin
