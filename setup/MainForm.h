// TMainForm: the full-screen background window of the setup program. It paints the gradient
// and the title, owns the other windows, decides whether setup may be left, and drives the
// run sequence through AdvanceStep.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/win/Handles.h"
#include "setup/AdvanceStep.h"
#include "setup/SetupStage.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/ModalForm.h"

namespace pelorin {

// The background window's system-menu entries.
constexpr UINT kSeparatorCommand = 9998;
constexpr UINT kAboutCommand = 9999;

class TMainForm : public TForm {
public:
    // Reads the description's AppName, BackColor and Flags from Globals(). Becomes the
    // application's main form.
    TMainForm();
    ~TMainForm() override;

    // The palette of the gradient; none with SolidBackground.
    HPALETTE GetPalette() override;

    // The About box that the system menu's entry shows modally; none: the entry does nothing.
    void SetAboutBox(TModalForm* about) { about_ = about; }

    // Asks the window to close through its close query; true when it has really closed.
    // The wizard and the installation window forward their own close requests here.
    bool CloseMainQuery();

    // Answers the exit question instead of a message box (tests of the close query).
    using TAskExit = std::function<bool()>;
    void SetAskExit(TAskExit ask) { askExit_ = std::move(ask); }

    // Starts the run sequence as the window's first activation does: for a run whose windows
    // never show (/VERYSILENT).
    void StartSequence();

    // The handler of AdvanceStep: the run sequence.
    TNotifyEvent OnAdvanceStep;

    TImage& Image1;

    SetupStage SetupStep = SetupStage::NotStarted;
    bool RunningPrograms = false;
    bool CloseAccepted = false;
    bool StartedOnce = false;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormDestroy();
    void FormCloseQuery(bool& canClose);
    void FormClose();
    void FormActivate();
    void FormPaint(HDC dc);
    void FormKeyDown(WPARAM& key);
    void AppActivate();
    void AppRestore();
    bool AppWindowHook(UINT msg);
    // Hides the visible forms owned by this window, or shows those it hid.
    void HideOwnedForms();
    void ShowOwnedForms();

    GdiHandle palette_;
    bool minimised_ = false;
    std::vector<HWND> hiddenForms_;
    int hookKey_ = 0;
    TModalForm* about_ = nullptr;
    TAskExit askExit_;
};

}  // namespace pelorin
