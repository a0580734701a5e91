// Standard controls of the window layer: TLabel (static text) and TButton (push button).
// Captions repaint when set; a button's OnClick gets the button as sender.
#pragma once

#include "ui/Control.h"
#include "ui/Events.h"

namespace pelorin {

// A label of fixed bounds; it never resizes itself to its text.
class TLabel : public TControl {
public:
    TLabel(TForm& parent, const Bounds& bounds);

    // For text that changes many times a second (a file name during copying): sets the caption
    // unless it is already shown, and leaves the painting to the control, which repaints itself
    // on a new text (here at once, elsewhere at the next run of messages).
    void ShowText(const std::string& text);
};

class TButton : public TControl {
public:
    TButton(TForm& parent, const Bounds& bounds);

    // When set, the Escape key on the form presses this button. Default: false.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel);
    // When set, the Enter key on the form presses this button, which is drawn as the default
    // button. Default: false.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);

    // Presses the button in code, as a mouse click would.
    void Click();
    void Command(WORD notification) override;

    TNotifyEvent OnClick;

private:
    TForm& parent_;
    bool cancel_ = false;
    bool default_ = false;
};

}  // namespace pelorin
