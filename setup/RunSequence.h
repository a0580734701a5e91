// TRunSequence: the background window's AdvanceStep handler. It finishes the stage that
// SetupStep names and starts the next: wizard, installation, programs and final page, end.
#pragma once

#include <memory>

namespace pelorin {

class TMainForm;
class TWizardForm;
class TInstallForm;
class Tfbrowse;

class TRunSequence {
public:
    // Drives main's stages; the wizard gets groupBrowser for its group "B&rowse..." button.
    TRunSequence(TMainForm& main, Tfbrowse* groupBrowser);
    ~TRunSequence();
    TRunSequence(const TRunSequence&) = delete;
    TRunSequence& operator=(const TRunSequence&) = delete;

    // The handler of AdvanceStep.
    void AdvanceStep();

    // The wizard once stage 1 has started, otherwise none.
    TWizardForm* Wizard() const { return wizard_.get(); }

private:
    void FinishStage();
    void StartStage();
    void RunPrograms();
    // The choice of the final page's restart offer, taken when the page is left (Finish or
    // closing the wizard).
    void TakeRestartChoice();
    bool CloseMainQuery();

    TMainForm& main_;
    Tfbrowse* groupBrowser_;
    std::unique_ptr<TWizardForm> wizard_;
    std::unique_ptr<TInstallForm> install_;
};

}  // namespace pelorin
