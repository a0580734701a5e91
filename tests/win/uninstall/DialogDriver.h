// Drives the message boxes of another process: finds its dialog window, reads the text of
// the box (static control 0xFFFF) and presses a button, as a user would.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin::testing {

struct MessageBoxSeen {
    HWND Window = nullptr;
    std::string Caption;
    std::string Text;
};

// Waits up to timeoutMs for a visible dialog window of the process; Window is null on timeout.
MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs);

// Presses the button (IDOK, IDYES, IDNO...) and waits until the box has gone.
bool PressButton(const MessageBoxSeen& box, int buttonId);

}  // namespace pelorin::testing
