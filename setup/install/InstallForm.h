// TInstallForm: the installation window (animation, status, file name, progress bar, Cancel)
// that runs DoInstall and answers the engine's progress and prompt interfaces.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "setup/AdvanceStep.h"
#include "setup/install/InstallPrompt.h"
#include "setup/install/Undo.h"
#include "setup/install/UndoChanges.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace pelorin {

class TInstallForm : public TForm, private IInstallProgress, private IInstallPrompt {
public:
    // Asks the background window to close; true when it has really closed (CloseAccepted).
    using TCloseMainQuery = std::function<bool()>;

    // mainWindow owns the form and receives AdvanceStep; closeMain is the background window's
    // close query (empty: nothing to ask, the form may close); palette gives the background
    // window's palette (empty: none).
    TInstallForm(HWND mainWindow, TCloseMainQuery closeMain, std::function<HPALETTE()> palette = {});
    ~TInstallForm() override;

    HPALETTE GetPalette() override { return palette_ ? palette_() : nullptr; }

    // Runs the installation. Completed: the form closes and AdvanceStep is posted. Failed or
    // cancelled: everything is rolled back and the application is told to terminate.
    void DoInstall();

    // Test seams: answers instead of message boxes, and the folder of PELORIN.DAT.
    void SetPrompt(IInstallPrompt* prompt) { prompt_ = prompt; }
    void SetUndoPrompt(IUndoPrompt* prompt) { undoPrompt_ = prompt; }
    void SetSourceDir(const std::string& dir) { sourceDir_ = dir; }

    TAnimate& Ani;
    TLabel& StatusLabel;
    TLabel& FilenameLabel;
    TProgressBar& Jauge;
    TButton& CancelButton;

    std::unique_ptr<TUndoChanges> Changes;
    bool Finished = false;
    bool CancelRequested = false;

    std::int64_t ProgressMax() const { return max_; }

private:
    void FormCreate();
    void CancelButtonClick(TComponent& sender);
    void FormCloseQuery(TComponent& sender, bool& canClose);

    // IInstallProgress
    void SetStatus(const std::string& text) override;
    void SetFilename(const std::string& text) override;
    void SetMax(std::int64_t max) override;
    std::int64_t Position() const override { return position_; }
    void SetPosition(std::int64_t position) override;
    bool ProcessMessagesAndCheckCancel() override;

    // IInstallPrompt
    int MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) override;
    void ShowError(const std::string& message) override;

    HWND mainWindow_;
    TCloseMainQuery closeMain_;
    std::function<HPALETTE()> palette_;
    IInstallPrompt* prompt_ = nullptr;
    IUndoPrompt* undoPrompt_ = nullptr;
    std::string sourceDir_;
    std::int64_t max_ = 0;
    std::int64_t position_ = 0;
    int shift_ = 0;                 // the bar holds 32-bit values: larger ranges are scaled down
    std::int64_t shownPixel_ = -1;  // the pixel of the bar's width that the last position reached
    bool pumped_ = false;           // messages ran once; later looks wait for the interval
    DWORD lastPump_ = 0;            // when they last ran (GetTickCount)
    std::string filename_;          // the file being installed
    bool filenameDue_ = false;      // the label does not show filename_ yet
    int barValue_ = 0;              // the bar's value for the last pixel reached
    bool barDue_ = false;           // the bar does not show barValue_ yet
    DWORD lastRefresh_ = 0;         // when the label or the bar last changed (GetTickCount)

    // Brings the file name and the bar up to date when either is behind and, unless now, an
    // interval has passed since they last changed.
    void Refresh(bool now);
};

}  // namespace pelorin
