// TWizardForm: the setup wizard's dialog, six pages from Welcome to "Setup successful", that
// collects the destination folder and the program group and hands over to the run sequence.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "components/KRichEdit.h"
#include "setup/MsgBox.h"
#include "setup/wizard/BrowseFolder.h"
#include "setup/wizard/WizardPage.h"
#include "setup/wizard/WizardRules.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Notebook.h"
#include "ui/StdCtrls.h"

namespace pelorin {

class TRadioButton;
class Tfbrowse;

class TWizardForm : public TForm {
public:
    // Asks the background window to close; true when it has really closed (CloseAccepted).
    using TCloseMainQuery = std::function<bool()>;

    // mainWindow owns the wizard and receives AdvanceStep after "&Install" and "&Finish".
    // palette gives the background window's palette (or null); it may be empty.
    TWizardForm(HWND mainWindow, TCloseMainQuery closeMain, std::function<HPALETTE()> palette);
    ~TWizardForm() override;

    // The background window's palette, realised when the wizard is activated.
    HPALETTE GetPalette() override { return palette_ ? palette_() : nullptr; }

    // The group browse dialog that Button1 opens; the program has one, made by the entry.
    void SetGroupBrowser(Tfbrowse* browser) { groupBrowser_ = browser; }

    // Shows the wizard; the first showing fills in the default answers and shows page 0.
    void Show();

    // Shows the page and applies the page rules (captions, enabling, focus).
    void SetCurPage(WizardPage page);

    // Puts the restart offer on the final page, below its shortened text: restart now (checked)
    // or later. Later calls change nothing.
    void OfferRestart();
    // The offer's answer, true for restart now; none when no offer was made.
    std::optional<bool> RestartChoice() const;

    // Test seams: the drives the destination check asks, and the site that shows its boxes.
    void SetDriveQuery(IDriveQuery* drives) { drives_ = drives; }
    using TMsgBoxFunction = std::function<int(const std::string&, const std::string&, MsgBoxKind, UINT)>;
    void SetMsgBox(TMsgBoxFunction msgBox) { msgBox_ = std::move(msgBox); }

    TNotebook& Notebook1;
    TLabel& lp;
    TButton& BackButton;
    TButton& NextButton;
    TButton& CancelButton;
    TKRichEdit& RWelcome;
    TKRichEdit& RLic;
    TKRichEdit& licensememo;
    TKRichEdit& Rd;
    TLabel& DirLabel;
    TEdit& DirEdit;
    TButton& bs;
    TKRichEdit& KRichEdit1;
    TLabel& GroupLabel;
    TEdit& GroupEdit;
    TButton& Button1;
    TKRichEdit& RReady;
    TKRichEdit& RFin;
    TBrowseFolder& bf;

    WizardPage CurPage = WizardPage::Welcome;
    bool ClosingByCode = false;
    bool DefaultsLoaded = false;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormShow();
    void NextButtonClick(TComponent& sender);
    void BackButtonClick(TComponent& sender);
    void CancelButtonClick(TComponent& sender);
    void FormCloseQuery(TComponent& sender, bool& canClose);
    void bsClick(TComponent& sender);
    void Button1Click(TComponent& sender);
    void Advance();

    HWND mainWindow_;
    TCloseMainQuery closeMain_;
    std::function<HPALETTE()> palette_;
    Tfbrowse* groupBrowser_ = nullptr;
    IDriveQuery* drives_ = nullptr;
    TMsgBoxFunction msgBox_;
    HWND lastFocus_ = nullptr;            // the control to focus again when the wizard is reactivated
    TRadioButton* restartNow_ = nullptr;  // of the restart offer, when one was made
};

}  // namespace pelorin
