// TInstallForm: builds its controls from the layout, wires the Cancel button and the close
// query, and maps the engine's 64-bit progress onto the bar's 32-bit range.
#include "setup/install/InstallForm.h"

#include <climits>

#include "core/FilePath.h"
#include "setup/CmnFunc.h"
#include "setup/Globals.h"
#include "setup/MsgBox.h"
#include "setup/install/ChangeText.h"
#include "setup/install/InstallContext.h"
#include "setup/install/InstallEngine.h"
#include "ui/Application.h"

namespace pelorin {

namespace {

// The shell library's copy-file clip; the form plays its frames 0 to 26.
constexpr int kCopyFileClip = 161;
constexpr int kCopyFileLastFrame = 26;
constexpr int kJaugeWidth = 273;
// How often, in milliseconds, the window catches up with the installation: messages run between
// files, and the file name and the bar show their latest state. 40 ms is 25 times a second.
constexpr DWORD kRefreshInterval = 40;

// The rollback of a silent run: its errors go to the log instead of a box.
class TLoggedUndoPrompt : public IUndoPrompt {
public:
    void ShowError(const std::string& message) override { SetupLog().Line("error while undoing: " + message); }
    bool ConfirmRemoveSharedFile(const std::string& path) override {
        SetupLog().Line("shared file " + path + " kept (unattended default)");
        return false;
    }
};

}  // namespace

TInstallForm::TInstallForm(HWND mainWindow, TCloseMainQuery closeMain, std::function<HPALETTE()> palette)
    : TForm(mainWindow, bsDialog),
      Ani(Add<TAnimate>(TControl::Bounds{8, 8, 272, 60})),
      StatusLabel(Add<TLabel>(TControl::Bounds{8, 72, 345, 16})),
      FilenameLabel(Add<TLabel>(TControl::Bounds{8, 88, 345, 17})),
      Jauge(Add<TProgressBar>(TControl::Bounds{8, 112, kJaugeWidth, 17})),
      CancelButton(Add<TButton>(TControl::Bounds{288, 112, 65, 25})),
      mainWindow_(mainWindow),
      closeMain_(std::move(closeMain)),
      palette_(std::move(palette)),
      sourceDir_(ExtractFilePath(GetOwnPath())) {
    Ani.Name = "Ani";
    StatusLabel.Name = "StatusLabel";
    FilenameLabel.Name = "FilenameLabel";
    Jauge.Name = "Jauge";
    CancelButton.Name = "CancelButton";
    SetClientSize(362, 149);
    CenterOnScreen();
    CancelButton.SetCancel(true);
    CancelButton.OnClick = [this](TComponent& sender) { CancelButtonClick(sender); };
    OnCloseQuery = [this](TComponent& sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    FormCreate();
}

TInstallForm::~TInstallForm() = default;

void TInstallForm::FormCreate() {
    SetCaption("Setup Wizard");
    Ani.SetStopFrame(kCopyFileLastFrame);
    Ani.SetCommonAVI(kCopyFileClip);
    Ani.SetActive(true);
    CancelButton.SetCaption("Cancel");
    const SetupGlobals& globals = Globals();
    SetMax(ProgressMaximum(globals.Setup));
    Changes = std::make_unique<TUndoChanges>();
    Changes->Title = globals.Setup.Header.AppName;
    Changes->CommonGroup = globals.IsAdmin ? 1 : 0;
    Changes->OnAdd = [](const UndoRecord& record) {
        const std::string text = DescribeChange(record);
        if (!text.empty()) SetupLog().Line(text);
    };
}

void TInstallForm::DoInstall() {
    TInstallContext context{*this, *this, *Changes, std::string(), sourceDir_};
    TInstallEngine engine(Globals().Setup, context);
    TLoggedUndoPrompt logged;
    engine.SetUndoPrompt(undoPrompt_ ? undoPrompt_ : Globals().Options.Unattended() ? &logged : nullptr);
    if (!engine.Run()) {
        Globals().ExitCode = CancelRequested ? kExitCancelled : kExitFailed;
        SetupLog().Line(CancelRequested ? "installation cancelled, its changes undone"
                                        : "installation failed, its changes undone");
        TerminateApplication();
        return;
    }
    Finished = true;
    Close();
    if (mainWindow_) ::PostMessageA(mainWindow_, AdvanceStepMessage, 0, 0);
}

void TInstallForm::CancelButtonClick(TComponent&) { Close(); }

void TInstallForm::FormCloseQuery(TComponent&, bool& canClose) {
    if (Finished) {
        canClose = true;
        return;
    }
    Finished = true;  // a second close request during the question does not ask again
    canClose = !closeMain_ || closeMain_();
    if (canClose) CancelRequested = true;
    Finished = false;
}

void TInstallForm::SetStatus(const std::string& text) {
    if (!text.empty()) SetupLog().Line("step: " + text);
    Refresh(true);
    StatusLabel.SetCaption(text);
}

// Small files end many times within one interval, and every change of the label or the bar is
// a paint: both follow the installation at the pace of the message runs, and a file that takes
// longer than an interval shows its name and progress while its data is written.
void TInstallForm::SetFilename(const std::string& text) {
    filename_ = text;
    filenameDue_ = true;
    Refresh(text.empty());
}

void TInstallForm::SetMax(std::int64_t max) {
    max_ = max < 0 ? 0 : max;
    shownPixel_ = -1;
    shift_ = 0;
    while ((max_ >> shift_) > INT_MAX) ++shift_;
    Jauge.SetMax(static_cast<int>(max_ >> shift_));
}

void TInstallForm::SetPosition(std::int64_t position) {
    position_ = position;
    const std::int64_t shown = std::min(std::max<std::int64_t>(position, 0), max_);
    // A file's data moves the bar in many small steps, most of them within one pixel of its
    // width; the first and the last position show at once.
    const std::int64_t pixel = max_ == 0 ? 0 : shown * kJaugeWidth / max_;
    const bool ends = shown == max_ || shown == 0;
    if (pixel != shownPixel_ || ends) {
        shownPixel_ = pixel;
        barValue_ = static_cast<int>(shown >> shift_);
        barDue_ = true;
    }
    Refresh(ends);
}

void TInstallForm::Refresh(bool now) {
    if (!filenameDue_ && !barDue_) return;
    const DWORD tick = ::GetTickCount();
    if (!now && tick - lastRefresh_ < kRefreshInterval) return;
    lastRefresh_ = tick;
    if (filenameDue_) FilenameLabel.ShowText(filename_);
    if (barDue_) Jauge.SetPosition(barValue_);
    filenameDue_ = barDue_ = false;
}

bool TInstallForm::ProcessMessagesAndCheckCancel() {
    // With nothing waiting, each look at the queue is a round trip to the window system; small
    // files end many times within one interval, and a user's click waits at most that long.
    const DWORD now = ::GetTickCount();
    if (pumped_ && now - lastPump_ < kRefreshInterval) return CancelRequested;
    pumped_ = true;
    lastPump_ = now;
    Refresh(true);
    ProcessMessages();
    return CancelRequested;
}

int TInstallForm::MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) {
    Refresh(true);
    if (prompt_) return prompt_->MsgBox(text, caption, kind, buttons);
    return pelorin::MsgBox(text, caption, kind, buttons);
}

void TInstallForm::ShowError(const std::string& message) {
    Refresh(true);
    if (prompt_) return prompt_->ShowError(message);
    ShowErrorBox(message);
}

}  // namespace pelorin
