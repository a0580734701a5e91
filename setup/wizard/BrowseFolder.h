// TBrowseFolder: the shell's folder browser as a component, with preselection, centring,
// a status-line path, an optional extra button and events. Both wizards use it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <exception>
#include <functional>
#include <string>

#include "ui/Component.h"

namespace pelorin {

// Options of the browser; each member's value is the shell's own option bit, so a set is
// their bitwise or.
enum TBrowseInfoFlags : unsigned {
    bfFileSysDirsOnly = 0x0001,
    bfDontGoBelowDomain = 0x0002,
    bfStatusText = 0x0004,
    bfFileSysAncestors = 0x0008,
    bfBrowseForComputer = 0x1000,
    bfBrowseForPrinter = 0x2000,
};
using TBrowseInfoFlagSet = unsigned;

// Roots of the folder tree; foDesktopExpanded shows the whole namespace with the desktop open.
enum TSHFolders {
    foDesktop,
    foDesktopExpanded,
    foPrograms,
    foControlPanel,
    foPrinters,
    foPersonal,
    foFavorites,
    foStartup,
    foRecent,
    foSendto,
    foRecycleBin,
    foStartMenu,
    foDesktopDirectory,
    foMyComputer,
    foNetwork,
    foNetworkNeighborhood,
    foFonts,
    foTemplates,
};

enum TCustomButtonType { btPushButton, btCheckBox };

using TBrowseDialogEvent = std::function<void(TComponent& sender, HWND dialogHandle)>;
using TBrowseSelectionEvent =
    std::function<void(TComponent& sender, HWND dialogHandle, LPCITEMIDLIST itemIDList, const std::string& directory)>;

class TBrowseFolder : public TComponent {
public:
    // ownerWindow: the window of the form that owns the component (may be null).
    explicit TBrowseFolder(HWND ownerWindow = nullptr);
    ~TBrowseFolder() override;

    // The folder to preselect; after a confirmed browse, the folder chosen. Default: empty.
    const std::string& Directory() const { return directory_; }
    void SetDirectory(const std::string& directory) { directory_ = directory; }
    // The text above the folder tree. Default: empty.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // Default: bfFileSysDirsOnly and bfStatusText.
    TBrowseInfoFlagSet Flags() const { return flags_; }
    void SetFlags(TBrowseInfoFlagSet flags) { flags_ = flags; }
    // Shows the selected path, shortened, in the status line. Default: false.
    bool ShowPathInStatusArea() const { return showPathInStatusArea_; }
    void SetShowPathInStatusArea(bool show) { showPathInStatusArea_ = show; }
    // Default: foDesktopExpanded.
    TSHFolders RootFolder() const { return rootFolder_; }
    void SetRootFolder(TSHFolders root) { rootFolder_ = root; }

    // The extra button. Defaults: hidden, enabled, no caption, 75 pixels wide, a push button,
    // unchecked, not following the OK button. Enabled, caption and width reach a live button.
    bool CustomButtonVisible() const { return customButtonVisible_; }
    void SetCustomButtonVisible(bool visible) { customButtonVisible_ = visible; }
    bool CustomButtonEnabled() const { return customButtonEnabled_; }
    void SetCustomButtonEnabled(bool enabled);
    const std::string& CustomButtonCaption() const { return customButtonCaption_; }
    void SetCustomButtonCaption(const std::string& caption);
    int CustomButtonWidth() const { return customButtonWidth_; }
    void SetCustomButtonWidth(int width);  // 0 or less is stored as 75
    TCustomButtonType CustomButtonType() const { return customButtonType_; }
    void SetCustomButtonType(TCustomButtonType type) { customButtonType_ = type; }
    // A check box's state: given to the dialog at start, read back when OK is pressed.
    bool CustomButtonChecked() const { return customButtonChecked_; }
    void SetCustomButtonChecked(bool checked) { customButtonChecked_ = checked; }
    // When set, the extra button is enabled exactly when the OK button is.
    bool SyncCustomButton() const { return syncCustomButton_; }
    void SetSyncCustomButton(bool sync) { syncCustomButton_ = sync; }

    TBrowseDialogEvent OnInitialized;
    TBrowseSelectionEvent OnSelectionChanged;
    TBrowseDialogEvent OnCustomButtonClick;

    // An explicit owner for the dialog, used when it is a valid window.
    HWND OwnerHandle() const { return ownerHandle_; }
    void SetOwnerHandle(HWND owner) { ownerHandle_ = owner; }
    // The open dialog and its extra button; null outside Execute.
    HWND DialogHandle() const { return dialog_; }
    HWND CustomButtonHandle() const { return customButton_; }
    // Display name and system image index of the item chosen by the last confirmed browse.
    const std::string& DisplayName() const { return displayName_; }
    int ImageIndex() const { return imageIndex_; }
    // While open, the path of the current selection; after a confirmed browse, Directory.
    const std::string& SelectedPath() const { return selectedPath_; }

    // Runs the browser modally. True when the user confirmed a folder.
    bool Execute();

    // For the events, while the dialog is open: selects the folder of that path; enables or
    // disables OK (and the extra button with SyncCustomButton).
    void SetSelectionPath(const std::string& path);
    void EnableOK(bool enabled);

private:
    static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM param, LPARAM self);
    static LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HWND DialogOwner() const;
    void Initialized(HWND dialog);
    void SelectionChanged(LPCITEMIDLIST itemIDList);
    void CreateCustomButton();
    // Runs an event; an error it raises closes the dialog and is raised again by Execute.
    template <typename Call>
    void Guarded(Call call);

    HWND ownerWindow_;
    std::string directory_;
    std::string title_;
    TBrowseInfoFlagSet flags_ = bfFileSysDirsOnly | bfStatusText;
    bool showPathInStatusArea_ = false;
    TSHFolders rootFolder_ = foDesktopExpanded;
    bool customButtonVisible_ = false;
    bool customButtonEnabled_ = true;
    std::string customButtonCaption_;
    int customButtonWidth_ = 75;
    TCustomButtonType customButtonType_ = btPushButton;
    bool customButtonChecked_ = false;
    bool syncCustomButton_ = false;

    HWND ownerHandle_ = nullptr;
    HWND dialog_ = nullptr;
    HWND customButton_ = nullptr;
    std::string displayName_;
    int imageIndex_ = 0;
    std::string selectedPath_;
    std::string preselection_;  // the folder selected at start, kept while the dialog is open
    WNDPROC dialogProc_ = nullptr;
    std::exception_ptr eventError_;
};

}  // namespace pelorin
