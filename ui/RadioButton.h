// TRadioButton: one choice of a group; checking one unchecks the others of its group (the
// buttons that follow it up to the next one that starts a group).
#pragma once

#include "ui/Control.h"
#include "ui/Events.h"

namespace pelorin {

class TRadioButton : public TControl {
public:
    // startsGroup marks the first button of a group (it takes the Tab stop of the group).
    TRadioButton(TForm& parent, const Bounds& bounds, bool startsGroup = false);

    // Default: false.
    bool Checked() const;
    void SetChecked(bool checked);

    void Command(WORD notification) override;

    TNotifyEvent OnClick;
};

}  // namespace pelorin
