// The question put to the user who leaves setup before it has installed anything: one text for
// the background window and the wizard that stands alone.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "setup/MsgBox.h"

namespace pelorin {

// Shows a box as MsgBox does (text, caption, kind, button flags) and returns the button pressed.
using MsgBoxFunction = std::function<int(const std::string&, const std::string&, MsgBoxKind, UINT)>;

// Asks through box whether to exit setup, with No the default button; true for Yes.
bool AskExitSetup(const MsgBoxFunction& box);

}  // namespace pelorin
