// Text entry controls of the window layer: TEdit (one line, typing limit) and TMemo (many
// lines, scroll bars). Texts set in code are never cut by the typing limit.
#pragma once

#include <string>

#include "ui/Control.h"
#include "ui/Events.h"
#include "ui/Graphics.h"

namespace pelorin {

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Shared by the edit kinds: text, read-only state, typing limit and the change event.
class TCustomEdit : public TControl {
public:
    std::string Text() const;
    void SetText(const std::string& text);

    // At most this many characters can be typed; 0 (default) means no limit of ours.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // Gives the control the keyboard focus and selects its whole text.
    void SetFocus();
    void SelectAll();

    void Command(WORD notification) override;

    TNotifyEvent OnChange;

protected:
    TCustomEdit(TForm& parent, const char* windowClass, DWORD style, const Bounds& bounds, DWORD exStyle);
    // Carry the text across a re-creation and apply the settings again.
    void DestroyingWindow() override;
    void WindowCreated() override;
    // Applies the typing limit and read-only state to a new window.
    void ApplySettings();

private:
    std::string savedText_;  // carries the text across a re-creation
    int maxLength_ = 0;
    bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
public:
    TEdit(TForm& parent, const Bounds& bounds);
};

class TMemo : public TCustomEdit {
public:
    TMemo(TForm& parent, const Bounds& bounds, TScrollStyle scrollBars = ssVertical);

    // Lines joined with CR LF, as the control holds them.
    void SetLines(const std::string& text) { SetText(text); }
};

// The window styles of a scroll-bar choice.
DWORD ScrollBarStyle(TScrollStyle scrollBars);

}  // namespace pelorin
