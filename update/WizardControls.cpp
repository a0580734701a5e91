// The update wizard's own controls: an etched static line, and SHBrowseForFolder with the
// last confirmed folder preselected.
#include "update/WizardControls.h"

#include <shlobj.h>

#include "ui/Form.h"

namespace pelorin::upd {

TBevelLine::TBevelLine(TForm& parent, const Bounds& bounds) : TControl(parent, "STATIC", SS_ETCHEDHORZ, bounds) {}

int CALLBACK TFolderBrowser::Callback(HWND dialog, UINT msg, LPARAM lParam, LPARAM data) {
    auto* browser = reinterpret_cast<TFolderBrowser*>(data);
    if (msg == BFFM_INITIALIZED && !browser->directory_.empty()) {
        ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(browser->directory_.c_str()));
    } else if (msg == BFFM_SELCHANGED) {
        // Folders may be confirmed although the options ask for computers.
        char path[MAX_PATH] = {};
        const bool folder = ::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path) != FALSE;
        ::SendMessageA(dialog, BFFM_ENABLEOK, 0, folder ? TRUE : FALSE);
    }
    return 0;
}

bool TFolderBrowser::Execute(HWND owner) {
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = Title.c_str();
    info.ulFlags = Flags;
    info.lpfn = &TFolderBrowser::Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (!chosen) return false;
    char path[MAX_PATH] = {};
    directory_ = ::SHGetPathFromIDListA(chosen, path) ? path : "";
    ::CoTaskMemFree(chosen);
    return true;
}

}  // namespace pelorin::upd
