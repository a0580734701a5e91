// TCustomRichEdit over the rich edit control of riched20.dll ("RichEdit20A"). Content moves in
// and out through EM_STREAMIN and EM_STREAMOUT with in-memory callbacks.
#include "ui/RichEdit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "platform/win/SystemLibrary.h"
#include "ui/Form.h"

namespace pelorin {

namespace {

// The library stays loaded for the life of the process: its windows may live until exit.
const char* RichEditClassName() {
    [[maybe_unused]] static const HMODULE library = LoadSystemLibrary("riched20.dll");
    return RICHEDIT_CLASSA;
}

struct ReadCursor {
    const std::string* data;
    std::size_t position;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* got) {
    auto* cursor = reinterpret_cast<ReadCursor*>(cookie);
    const std::size_t left = cursor->data->size() - cursor->position;
    const std::size_t count = std::min(left, static_cast<std::size_t>(wanted));
    std::memcpy(buffer, cursor->data->data() + cursor->position, count);
    cursor->position += count;
    *got = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteChunk(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* written) {
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                   static_cast<std::size_t>(count));
    *written = count;
    return 0;
}

constexpr DWORD kBaseStyle = ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP;

}  // namespace

TCustomRichEdit::TCustomRichEdit(TForm& parent, const Bounds& bounds)
    : TCustomEdit(parent, RichEditClassName(), kBaseStyle, bounds, WS_EX_CLIENTEDGE),
      color_(::GetSysColor(COLOR_WINDOW)) {}

DWORD TCustomRichEdit::Styles() const { return kBaseStyle | ScrollBarStyle(scrollBars_); }

void TCustomRichEdit::ApplyStyles() {
    SetStyles(Styles(), borderStyle_ == bsSingle ? WS_EX_CLIENTEDGE : 0);
    RecreateWnd();
}

void TCustomRichEdit::SetBorderStyle(TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    ApplyStyles();
}

void TCustomRichEdit::SetScrollBars(TScrollStyle scrollBars) {
    if (scrollBars == scrollBars_) return;
    scrollBars_ = scrollBars;
    ApplyStyles();
}

void TCustomRichEdit::SetColor(COLORREF color) {
    color_ = color;
    ::SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color_));
    Repaint();
}

void TCustomRichEdit::WindowCreated() {
    ApplySettings();
    ::SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color_));
}

void TCustomRichEdit::Clear() { ::SetWindowTextA(Handle(), ""); }

bool TCustomRichEdit::LoadFromString(const std::string& data) {
    ReadCursor cursor{&data, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cursor);
    stream.pfnCallback = &ReadChunk;
    ::SendMessageA(Handle(), EM_STREAMIN, plainText_ ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

std::string TCustomRichEdit::SaveToString() const {
    std::string data;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&data);
    stream.pfnCallback = &WriteChunk;
    ::SendMessageA(Handle(), EM_STREAMOUT, plainText_ ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return data;
}

}  // namespace pelorin
