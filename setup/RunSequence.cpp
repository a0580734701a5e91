// The four stages of the setup program, each started from the message loop by AdvanceStep:
// the wizard's input pages, the installation, the RunEntry programs with the final page, the end.
#include "setup/RunSequence.h"

#include <windows.h>

#include "setup/Globals.h"
#include "setup/MainForm.h"
#include "setup/MsgBox.h"
#include "setup/AdvanceStep.h"
#include "setup/RunPrograms.h"
#include "setup/install/InstallForm.h"
#include "setup/wizard/Wizard.h"
#include "ui/RadioButton.h"
#include "ui/StdCtrls.h"

namespace pelorin {

TRunSequence::TRunSequence(TMainForm& main, Tfbrowse* groupBrowser) : main_(main), groupBrowser_(groupBrowser) {
    main_.OnAdvanceStep = [this](TComponent&) { AdvanceStep(); };
}

TRunSequence::~TRunSequence() {
    main_.OnAdvanceStep = nullptr;
    install_.reset();
    wizard_.reset();
}

void TRunSequence::AdvanceStep() {
    FinishStage();
    ++main_.SetupStep;
    StartStage();
}

void TRunSequence::FinishStage() {
    SetupGlobals& globals = Globals();
    switch (main_.SetupStep) {
    case 1:
        if (!wizard_) break;  // a silent run chose them before its windows
        globals.AppDir = wizard_->DirEdit.Text();
        globals.GroupName = wizard_->GroupEdit.Text();
        break;
    case 2:
        install_.reset();
        if (!globals.Setup.RunEntries.empty()) {
            RunPrograms();
            const HWND active = ::GetActiveWindow();
            if (active) ::SetForegroundWindow(active);
        }
        break;
    case 3: TakeRestartChoice(); break;
    default: break;
    }
}

bool TRunSequence::CloseMainQuery() {
    if (main_.SetupStep == 3) TakeRestartChoice();  // closing the final page leaves it too
    return main_.CloseMainQuery();
}

void TRunSequence::OfferRestart() {
    if (!Globals().Setup.RestartRequired || restartNow_ || Globals().Options.NoRestart) return;
    TWizardForm& wizard = *wizard_;
    constexpr int kFinalPage = 5;
    // The page's text keeps the top; the offer goes below it.
    wizard.RFin.SetBounds(
        TControl::Bounds{wizard.Notebook1.GetBounds().Left + 8, wizard.Notebook1.GetBounds().Top + 8, 329, 97});
    TLabel& text = wizard.Notebook1.Add<TLabel>(kFinalPage, TControl::Bounds{8, 112, 329, 28});
    TRadioButton& now = wizard.Notebook1.Add<TRadioButton>(kFinalPage, TControl::Bounds{8, 148, 329, 17}, true);
    TRadioButton& later = wizard.Notebook1.Add<TRadioButton>(kFinalPage, TControl::Bounds{8, 168, 329, 17});
    text.Name = "RestartLabel";
    now.Name = "RestartNow";
    later.Name = "RestartLater";
    const WPARAM font = static_cast<WPARAM>(::SendMessageA(wizard.NextButton.Handle(), WM_GETFONT, 0, 0));
    for (const TControl* control :
         {static_cast<TControl*>(&text), static_cast<TControl*>(&now), static_cast<TControl*>(&later)})
        ::SendMessageA(control->Handle(), WM_SETFONT, font, FALSE);
    text.SetCaption("To complete the installation of " + Globals().Setup.Header.AppName +
                    ", Setup Wizard must restart your computer.");
    now.SetCaption("&Yes, restart the computer now");
    later.SetCaption("&No, I will restart the computer later");
    now.SetChecked(true);
    restartNow_ = &now;
}

void TRunSequence::TakeRestartChoice() {
    SetupGlobals& globals = Globals();
    if (restartNow_) globals.RestartChosen = restartNow_->Checked();
    // Unattended, the offer's own default stands: restart now, unless /NORESTART.
    if (globals.Options.Unattended())
        globals.RestartChosen = globals.Setup.RestartRequired && !globals.Options.NoRestart;
}

void TRunSequence::RunPrograms() {
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(main_.RunningPrograms);
    StartRunEntries(Globals().Setup.RunEntries, Globals().Dirs(),
                    [](const std::string& text) { MsgBox(text, "", mbError, MB_OK); });
}

void TRunSequence::StartStage() {
    const SetupOptions& options = Globals().Options;
    static const char* const kStageNames[] = {"", "wizard", "installation", "final page", "end"};
    if (main_.SetupStep < 5)
        SetupLog().Line(std::string("step: ") + kStageNames[main_.SetupStep] +
                        (options.Unattended() && (main_.SetupStep == 1 || main_.SetupStep == 3) ? " (not shown)" : ""));
    if (main_.SetupStep == 2)
        SetupLog().Line("destination folder " + Globals().AppDir + ", program group " + Globals().GroupName);
    // A silent run has no wizard pages: its folders are chosen, and the final page is left at once.
    if (options.Unattended() && (main_.SetupStep == 1 || main_.SetupStep == 3)) {
        if (main_.SetupStep == 3) TakeRestartChoice();
        ::PostMessageA(main_.Handle(), AdvanceStepMessage, 0, 0);
        return;
    }
    TMainForm& main = main_;
    const auto closeMain = [this] { return CloseMainQuery(); };
    const auto palette = [&main] { return main.GetPalette(); };
    switch (main_.SetupStep) {
    case 1:
        wizard_ = std::make_unique<TWizardForm>(main_.Handle(), closeMain, palette);
        wizard_->SetGroupBrowser(groupBrowser_);
        wizard_->Show();
        break;
    case 2:
        main_.Repaint();
        install_ = std::make_unique<TInstallForm>(main_.Handle(), closeMain, palette);
        if (options.Mode != RunMode::VerySilent) install_->Show();
        install_->DoInstall();
        break;
    case 3:
        main_.Repaint();
        OfferRestart();
        wizard_->SetCurPage(5);
        wizard_->Show();
        break;
    case 4: main_.Close(); break;
    default: break;
    }
}

}  // namespace pelorin
