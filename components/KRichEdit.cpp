// TKRichEdit: loading RichLines, and carrying the content through a buffer while the window is
// re-created (a change of border, scroll bars or parent), so bold and coloured text stays.
#include "components/KRichEdit.h"

#include <richedit.h>

namespace pelorin {

namespace {

// Change, selection-change, resize-request and protected-text notifications.
constexpr LPARAM kEventMask = ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_PROTECTED;  // 0x002C0001

// Chinese and Korean locales use the system's default character set for the font.
bool FarEastNonJapanese() {
    if (!::GetSystemMetrics(SM_DBCSENABLED)) return false;
    return PRIMARYLANGID(::GetSystemDefaultLangID()) != LANG_JAPANESE;
}

// Restores PlainText on every way out of a save or load.
class PlainTextScope {
public:
    PlainTextScope(TCustomRichEdit& edit, bool plainText) : edit_(edit), saved_(edit.PlainText()) {
        edit_.SetPlainText(plainText);
    }
    ~PlainTextScope() { edit_.SetPlainText(saved_); }
    PlainTextScope(const PlainTextScope&) = delete;
    PlainTextScope& operator=(const PlainTextScope&) = delete;

private:
    TCustomRichEdit& edit_;
    bool saved_;
};

}  // namespace

TKRichEdit::TKRichEdit(TForm& parent, const Bounds& bounds) : TCustomRichEdit(parent, bounds) { Prepare(); }

void TKRichEdit::Prepare() {
    if (FarEastNonJapanese()) {
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_CHARSET;
        format.bCharSet = DEFAULT_CHARSET;
        ::SendMessageA(Handle(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    }
    ::SendMessageA(Handle(), EM_SETEVENTMASK, 0, kEventMask);
    ::SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(Color()));
}

void TKRichEdit::SetRichLines(const std::string& value) {
    if (value == richLines_) return;
    richLines_ = value;
    Clear();
    LoadFromString(value);
}

void TKRichEdit::DestroyingWindow() {
    const PlainTextScope scope(*this, false);
    buffer_.assign(1, '\0');
    buffer_ += SaveToString();
}

void TKRichEdit::WindowCreated() {
    TCustomRichEdit::WindowCreated();
    Prepare();
    if (buffer_.empty()) return;
    const PlainTextScope scope(*this, buffer_[0] != '\0');
    const std::string content = buffer_.substr(1);
    buffer_.clear();
    LoadFromString(content);
}

}  // namespace pelorin
