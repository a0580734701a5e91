// The four stages of the setup program, each started from the message loop by AdvanceStep:
// the wizard's input pages, the installation, the RunEntry programs with the final page, the end.
#include "setup/RunSequence.h"

#include <windows.h>

#include <optional>

#include "setup/Globals.h"
#include "setup/MainForm.h"
#include "setup/MsgBox.h"
#include "setup/AdvanceStep.h"
#include "setup/RunPrograms.h"
#include "setup/SetupStage.h"
#include "setup/install/InstallForm.h"
#include "setup/wizard/Wizard.h"

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
    main_.SetupStep = NextStage(main_.SetupStep);
    StartStage();
}

void TRunSequence::FinishStage() {
    SetupGlobals& globals = Globals();
    switch (main_.SetupStep) {
    case SetupStage::Wizard:
        if (!wizard_) break;  // a silent run chose them before its windows
        globals.AppDir = wizard_->DirEdit.Text();
        globals.GroupName = wizard_->GroupEdit.Text();
        break;
    case SetupStage::Installation:
        install_.reset();
        if (!globals.Setup.RunEntries.empty()) {
            RunPrograms();
            const HWND active = ::GetActiveWindow();
            if (active) ::SetForegroundWindow(active);
        }
        break;
    case SetupStage::FinalPage: TakeRestartChoice(); break;
    default: break;
    }
}

bool TRunSequence::CloseMainQuery() {
    if (main_.SetupStep == SetupStage::FinalPage) TakeRestartChoice();  // closing the final page leaves it too
    return main_.CloseMainQuery();
}

void TRunSequence::TakeRestartChoice() {
    SetupGlobals& globals = Globals();
    const std::optional<bool> restartNow = wizard_ ? wizard_->RestartChoice() : std::nullopt;
    if (restartNow) globals.RestartChosen = *restartNow;
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
    const SetupGlobals& globals = Globals();
    const SetupOptions& options = globals.Options;
    const SetupStage stage = main_.SetupStep;
    // A silent run has no wizard pages: its folders are chosen, and the final page is left at once.
    const bool pagesSkipped = options.Unattended() && (stage == SetupStage::Wizard || stage == SetupStage::FinalPage);
    if (const char* const name = StageName(stage))
        SetupLog().Line(std::string("step: ") + name + (pagesSkipped ? " (not shown)" : ""));
    if (stage == SetupStage::Installation)
        SetupLog().Line("destination folder " + globals.AppDir + ", program group " + globals.GroupName);
    if (pagesSkipped) {
        if (stage == SetupStage::FinalPage) TakeRestartChoice();
        ::PostMessageA(main_.Handle(), AdvanceStepMessage, 0, 0);
        return;
    }
    TMainForm& main = main_;
    const auto closeMain = [this] { return CloseMainQuery(); };
    const auto palette = [&main] { return main.GetPalette(); };
    switch (stage) {
    case SetupStage::Wizard:
        wizard_ = std::make_unique<TWizardForm>(main_.Handle(), closeMain, palette);
        wizard_->SetGroupBrowser(groupBrowser_);
        wizard_->Show();
        break;
    case SetupStage::Installation:
        main_.Repaint();
        install_ = std::make_unique<TInstallForm>(main_.Handle(), closeMain, palette);
        if (options.Mode != RunMode::VerySilent) install_->Show();
        install_->DoInstall();
        break;
    case SetupStage::FinalPage:
        main_.Repaint();
        if (globals.Setup.RestartRequired && !options.NoRestart) wizard_->OfferRestart();
        wizard_->SetCurPage(WizardPage::Finished);
        wizard_->Show();
        break;
    case SetupStage::End: main_.Close(); break;
    default: break;
    }
}

}  // namespace pelorin
