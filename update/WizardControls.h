// The two controls the update wizard needs beyond the shared window layer: a separator line
// and the shell's folder browser.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win/Handles.h"
#include "ui/Control.h"
#include "ui/Events.h"

namespace pelorin::upd {

// A one-pixel etched line along the top of its bounds.
class TBevelLine : public TControl {
public:
    TBevelLine(TForm& parent, const Bounds& bounds);
};

// The shell's folder browser, keeping the folder of the last confirmed browse.
class TFolderBrowser {
public:
    std::string Title;
    UINT Flags = 0x0001 | 0x1000;  // file-system folders only, browse for computers
    // Empty until a browse is confirmed; kept when a later browse is cancelled.
    const std::string& Directory() const { return directory_; }
    bool Execute(HWND owner);

private:
    static int CALLBACK Callback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data);
    std::string directory_;
};

}  // namespace pelorin::upd
