// TProgressBar and TAnimate over the platform's common-control window classes.
// The progress range is set as 32-bit numbers, so ranges above 65535 work.
#include "ui/ComCtrls.h"

#include <commctrl.h>

#include "platform/win/SystemLibrary.h"
#include "ui/Form.h"

namespace pelorin {

TProgressBar::TProgressBar(TForm& parent, const Bounds& bounds) : TControl(parent, PROGRESS_CLASSA, 0, bounds) {
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    ::SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    ::SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
    Repaint();
}

void TProgressBar::SetMin(int value) {
    min_ = value;
    ApplyRange();
}

void TProgressBar::SetMax(int value) {
    max_ = value;
    ApplyRange();
}

void TProgressBar::SetPosition(int value) {
    if (value == position_) return;
    position_ = value;
    // The bar invalidates what the new position changes; painting that at once is enough.
    ::SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
    ::UpdateWindow(Handle());
}

TAnimate::TAnimate(TForm& parent, const Bounds& bounds)
    : TControl(parent, ANIMATE_CLASSA, ACS_CENTER | ACS_TRANSPARENT, bounds) {}

void TAnimate::SetCommonAVI(int resourceId) {
    SetActive(false);
    ::SendMessageA(Handle(), ACM_OPENA, 0, 0);  // closes the clip that was open
    opened_ = false;
    if (resourceId == 0) return;
    if (!shell_)
        shell_.reset(::LoadLibraryExA(SystemLibraryPath("shell32.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!shell_) return;
    opened_ = ::SendMessageA(Handle(), ACM_OPENA, reinterpret_cast<WPARAM>(shell_.get()),
                             reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(resourceId))) != 0;
}

bool TAnimate::SetActive(bool active) {
    if (!active) {
        if (active_) ::SendMessageA(Handle(), ACM_STOP, 0, 0);
        active_ = false;
        return true;
    }
    if (!opened_) return false;
    const WORD last = stopFrame_ > 0 ? static_cast<WORD>(stopFrame_) : static_cast<WORD>(-1);
    active_ = ::SendMessageA(Handle(), ACM_PLAY, static_cast<WPARAM>(-1), MAKELPARAM(0, last)) != 0;
    return active_;
}

}  // namespace pelorin
