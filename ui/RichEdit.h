// TCustomRichEdit: the platform's rich edit control (rich text with fonts and colours) with
// border, scroll bars, background colour, plain-text mode and streaming of its content.
#pragma once

#include <string>

#include "ui/Edit.h"

namespace pelorin {

class TCustomRichEdit : public TCustomEdit {
public:
    TCustomRichEdit(TForm& parent, const Bounds& bounds);

    // Changing the border or the scroll bars re-creates the window. Defaults: bsSingle, ssNone.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars);

    // Background colour as RGB. Default: the system's window colour.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);

    // Content streamed in and out as plain text instead of rich text. Default: false.
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool plainText) { plainText_ = plainText; }

    // Empties the content.
    void Clear();
    // Replaces the content by data, read as rich text (plain text when PlainText is set).
    // False when the control refused it.
    bool LoadFromString(const std::string& data);
    // The content as rich text (plain text when PlainText is set).
    std::string SaveToString() const;

    // The content as the user sees it, without formatting.
    std::string PlainContent() const { return Text(); }

protected:
    void DestroyingWindow() override {}
    void WindowCreated() override;

private:
    DWORD Styles() const;
    void ApplyStyles();

    TBorderStyle borderStyle_ = bsSingle;
    TScrollStyle scrollBars_ = ssNone;
    COLORREF color_;
    bool plainText_ = false;
};

}  // namespace pelorin
