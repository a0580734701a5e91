// Tfu: the update wizard's form. Six pages (Welcome, License, Directory, Summary, Updating,
// Complete), the version and folder checks, the four extractions and the registry mark.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "components/KRichEdit.h"
#include "platform/SystemServices.h"
#include "platform/win/Handles.h"
#include "setup/wizard/BrowseFolder.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Edit.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/Notebook.h"
#include "ui/StdCtrls.h"
#include "update/GradPan.h"
#include "update/UpdatePage.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin {

class Tfu : public TForm {
public:
    static constexpr const char* kProductKey = "SOFTWARE\\Ostrelo\\TZarnix Component";

    Tfu();
    ~Tfu() override;

    // Shows the form on its first page.
    void FormShow();
    // The program's exit status: 0, or 1 after a run that was aborted by an error.
    int ExitCode() const { return exitCode_; }
    UpdatePage CurPage() const { return curPage_; }

private:
    void BuildPages();
    TKRichEdit& RichLabel(UpdatePage page, const TControl::Bounds& bounds, const char* rtf);
    void SetPage(UpdatePage page);
    void PageChanged();

    void bprevClick();
    void bnextClick();
    void bcancelClick();
    void BrowseClick(TEdit& edit);
    void direditChange();
    void KWizBmpClick();
    void FormCloseQuery(bool& canClose);

    void LeaveWelcome();
    void LeaveLicense();
    void LeaveDirectory();
    void StartUpdate();
    void UpdateRun();
    void ReportFailedFiles();
    void Pump();

    int Ask(const char* text, const char* caption, UINT icon);
    void ShowError(const std::string& message);

    PointFont font_;
    PointFont boldFont_;
    GdiHandle sidePicture_;
    TNotebook* page_ = nullptr;
    UpdatePage curPage_ = UpdatePage::Welcome;
    int progressBase_ = 0;
    int exitCode_ = 0;
    bool running_ = false;
    bool closeAccepted_ = false;
    // Entries of the running update that could not replace their files (bad checksum, skipped).
    std::vector<std::string> failed_;

    TGradPan* KWizBmp_ = nullptr;
    TBevel* lev_ = nullptr;
    TLabel* Label1_ = nullptr;
    TButton* bprev_ = nullptr;
    TButton* bnext_ = nullptr;
    TButton* bcancel_ = nullptr;
    TEdit* diredit_ = nullptr;
    TEdit* dir2_ = nullptr;
    TEdit* dir3_ = nullptr;
    TLabel* lch_ = nullptr;
    TMemo* sum_ = nullptr;
    TAnimate* anim_ = nullptr;
    TLabel* l_ = nullptr;
    TProgressBar* j_ = nullptr;
    SystemServices system_;  // files and folders, for the checks and the zip component
    TBrowseFolder bf_;
    TVCLUnZip unz_{system_};
};

// Adds to the component's FilesList every entry of the directory whose folder is folder (upper
// case, without a trailing backslash): one group of the update run.
void SelectGroup(TVCLUnZip& zip, const std::string& folder);

}  // namespace pelorin
