// TBrowseFolder: runs the shell's folder browser and keeps the component's state in step
// with the live dialog through the browser's callback and a replaced dialog procedure.
#include "setup/wizard/BrowseFolder.h"

#include <memory>
#include <utility>

#include "platform/win/Handles.h"
#include "setup/wizard/StatusPath.h"

namespace pelorin {

namespace {

constexpr int kCustomButtonId = 255;
constexpr int kDefaultCustomButtonWidth = 75;
constexpr int kCustomButtonLeft = 12, kCustomButtonTop = 270, kCustomButtonHeight = 23;

// Item identifier lists come from the shell's allocator and go back to it.
struct ShellFree {
    void operator()(ITEMIDLIST* list) const noexcept { ::CoTaskMemFree(list); }
};
using ItemIDList = std::unique_ptr<ITEMIDLIST, ShellFree>;

// The special folder of a root, -1 for the whole namespace.
int RootFolderCsidl(TSHFolders root) {
    switch (root) {
    case foDesktop: return CSIDL_DESKTOP;
    case foDesktopExpanded: return -1;
    case foPrograms: return CSIDL_PROGRAMS;
    case foControlPanel: return CSIDL_CONTROLS;
    case foPrinters: return CSIDL_PRINTERS;
    case foPersonal: return CSIDL_PERSONAL;
    case foFavorites: return CSIDL_FAVORITES;
    case foStartup: return CSIDL_STARTUP;
    case foRecent: return CSIDL_RECENT;
    case foSendto: return CSIDL_SENDTO;
    case foRecycleBin: return CSIDL_BITBUCKET;
    case foStartMenu: return CSIDL_STARTMENU;
    case foDesktopDirectory: return CSIDL_DESKTOPDIRECTORY;
    case foMyComputer: return CSIDL_DRIVES;
    case foNetwork: return CSIDL_NETWORK;
    case foNetworkNeighborhood: return CSIDL_NETHOOD;
    case foFonts: return CSIDL_FONTS;
    case foTemplates: return CSIDL_TEMPLATES;
    }
    return -1;
}

ItemIDList RootItem(TSHFolders root, HWND window) {
    const int csidl = RootFolderCsidl(root);
    ITEMIDLIST* list = nullptr;
    if (csidl < 0 || FAILED(::SHGetSpecialFolderLocation(window, csidl, &list))) return ItemIDList();
    return ItemIDList(list);
}

std::string PathOf(LPCITEMIDLIST list) {
    char path[MAX_PATH] = {};
    if (!list || !::SHGetPathFromIDListA(list, path)) return std::string();
    return path;
}

bool IsExistingDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Moves the dialog, unsized and unactivated, to the middle of the foreground window's
// width and a quarter of its height down.
void CentreOverForeground(HWND dialog) {
    const HWND foreground = ::GetForegroundWindow();
    RECT over{}, own{};
    if (!foreground || !::GetWindowRect(foreground, &over) || !::GetWindowRect(dialog, &own)) return;
    const int x = over.left + (over.right - over.left) / 2 - (own.right - own.left) / 2;
    const int y = over.top + (over.bottom - over.top) / 4;
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

}  // namespace

TBrowseFolder::TBrowseFolder(HWND ownerWindow) : ownerWindow_(ownerWindow) {}

TBrowseFolder::~TBrowseFolder() = default;

void TBrowseFolder::SetCustomButtonEnabled(bool enabled) {
    customButtonEnabled_ = enabled;
    if (customButton_) ::EnableWindow(customButton_, enabled ? TRUE : FALSE);
}

void TBrowseFolder::SetCustomButtonCaption(const std::string& caption) {
    customButtonCaption_ = caption;
    if (customButton_) ::SetWindowTextA(customButton_, caption.c_str());
}

void TBrowseFolder::SetCustomButtonWidth(int width) {
    customButtonWidth_ = width > 0 ? width : kDefaultCustomButtonWidth;
    if (customButton_)
        ::SetWindowPos(customButton_, nullptr, 0, 0, customButtonWidth_, kCustomButtonHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND TBrowseFolder::DialogOwner() const {
    if (ownerHandle_ && ::IsWindow(ownerHandle_)) return ownerHandle_;
    if (ownerWindow_ && ::IsWindow(ownerWindow_)) return ownerWindow_;
    return ::GetActiveWindow();
}

bool TBrowseFolder::Execute() {
    const ComInit com;
    const HWND owner = DialogOwner();
    const ItemIDList root = RootItem(rootFolder_, owner);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName;
    info.lpszTitle = title_.c_str();
    info.ulFlags = flags_;
    info.lpfn = &TBrowseFolder::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    eventError_ = nullptr;
    const ItemIDList chosen(::SHBrowseForFolderA(&info));
    dialog_ = nullptr;
    customButton_ = nullptr;
    dialogProc_ = nullptr;
    if (eventError_) std::rethrow_exception(std::exchange(eventError_, nullptr));
    if (!chosen) return false;
    directory_ = PathOf(chosen.get());
    selectedPath_ = directory_;
    displayName_ = displayName;
    imageIndex_ = info.iImage;
    return true;
}

void TBrowseFolder::SetSelectionPath(const std::string& path) {
    if (dialog_) ::SendMessageA(dialog_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

void TBrowseFolder::EnableOK(bool enabled) {
    if (!dialog_) return;
    ::SendMessageA(dialog_, BFFM_ENABLEOK, 0, enabled ? TRUE : FALSE);
    if (syncCustomButton_ && customButton_) ::EnableWindow(customButton_, enabled ? TRUE : FALSE);
}

template <typename Call>
void TBrowseFolder::Guarded(Call call) {
    if (eventError_) return;
    try {
        call();
    } catch (...) {
        eventError_ = std::current_exception();
        if (dialog_) ::PostMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
}

int CALLBACK TBrowseFolder::BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM self) {
    auto* const browser = reinterpret_cast<TBrowseFolder*>(self);
    if (message == BFFM_INITIALIZED) {
        browser->Initialized(dialog);
    } else if (message == BFFM_SELCHANGED) {
        browser->dialog_ = dialog;
        browser->SelectionChanged(reinterpret_cast<LPCITEMIDLIST>(param));
    }
    return 0;
}

void TBrowseFolder::Initialized(HWND dialog) {
    dialog_ = dialog;
    CentreOverForeground(dialog);
    ::SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (IsExistingDirectory(directory_)) {
        // Selected now, and once more when the dialog's own start-up is over: some shells
        // are still filling the tree and drop a selection made this early.
        preselection_ = directory_;
        SetSelectionPath(preselection_);
        ::PostMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(preselection_.c_str()));
    }
    if (customButtonVisible_) CreateCustomButton();
    if (OnInitialized) Guarded([&] { OnInitialized(*this, dialog); });
}

void TBrowseFolder::SelectionChanged(LPCITEMIDLIST itemIDList) {
    selectedPath_ = PathOf(itemIDList);
    if (showPathInStatusArea_) {
        const std::string shown = ShortenStatusPath(selectedPath_);
        ::SendMessageA(dialog_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    EnableOK(!selectedPath_.empty());
    if (OnSelectionChanged) Guarded([&] { OnSelectionChanged(*this, dialog_, itemIDList, selectedPath_); });
}

void TBrowseFolder::CreateCustomButton() {
    const DWORD kind = customButtonType_ == btCheckBox ? BS_AUTOCHECKBOX : BS_PUSHBUTTON;
    customButton_ = ::CreateWindowExA(
        0, "BUTTON", customButtonCaption_.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | kind,
        kCustomButtonLeft, kCustomButtonTop, customButtonWidth_, kCustomButtonHeight, dialog_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCustomButtonId)), ::GetModuleHandleA(nullptr), nullptr);
    if (!customButton_) return;
    ::PostMessageA(customButton_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ::EnableWindow(customButton_, customButtonEnabled_ ? TRUE : FALSE);
    if (customButtonType_ == btCheckBox)
        ::SendMessageA(customButton_, BM_SETCHECK, customButtonChecked_ ? BST_CHECKED : BST_UNCHECKED, 0);
    dialogProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(dialog_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TBrowseFolder::DialogProc)));
}

LRESULT CALLBACK TBrowseFolder::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* const browser = reinterpret_cast<TBrowseFolder*>(::GetWindowLongPtrA(dialog, GWLP_USERDATA));
    const WNDPROC original = browser->dialogProc_;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && browser->customButtonType_ == btCheckBox)
        browser->customButtonChecked_ = ::SendMessageA(browser->customButton_, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (message == WM_COMMAND && LOWORD(wParam) == kCustomButtonId) {
        if (HIWORD(wParam) == BN_CLICKED && browser->OnCustomButtonClick)
            browser->Guarded([&] { browser->OnCustomButtonClick(*browser, dialog); });
        return 0;
    }
    if (message == WM_NCDESTROY) {
        // The dialog goes: it gets its own procedure back, and forgets this component.
        ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        ::SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
    }
    return ::CallWindowProcA(original, dialog, message, wParam, lParam);
}

}  // namespace pelorin
