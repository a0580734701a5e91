// TWizardForm: layout, page texts with their placeholders, the page rules, Next/Back/Cancel,
// the checks of the destination and group pages, and the close query through the background.
#include "setup/wizard/Wizard.h"

#include <array>

#include "setup/CmnFunc.h"
#include "setup/ExitQuestion.h"
#include "setup/Globals.h"
#include "setup/install/InstallForm.h"
#include "setup/wizard/BrowseG.h"
#include "setup/wizard/MachineDrives.h"
#include "setup/wizard/Pictures.h"
#include "setup/wizard/WizardTexts.h"
#include "ui/Graphics.h"
#include "ui/RadioButton.h"

namespace pelorin {

namespace {

using Bounds = TControl::Bounds;

constexpr int kTypingLimit = 63;
const std::array<const char*, kWizardPageCount> kPageCaptions = {
    "Welcome", "License Agreement", "Destination Directory", "Program Icons", "Ready", "Setup successful"};

// The side picture in its teal, single-bordered frame.
class TSidePicture : public TControl {
public:
    TSidePicture(TForm& parent, const Bounds& bounds)
        : TControl(parent, "STATIC", SS_BITMAP | SS_CENTERIMAGE | WS_BORDER, bounds) {
        picture_.reset(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kSidePictureId), IMAGE_BITMAP, 0, 0,
                                    LR_DEFAULTCOLOR));
        ::SendMessageA(Handle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
        SetBounds(bounds);  // a bitmap static sizes itself to the picture
    }

private:
    GdiHandle picture_;
};

// The wizard's font, "MS Sans Serif" 8 pt; it lives as long as the program, like its windows.
HFONT WizardFont() {
    static const PointFont font("MS Sans Serif", 8, FontStyle{false, false, DEFAULT_PITCH | FF_SWISS});
    return font.get();
}

BOOL CALLBACK UseWizardFont(HWND child, LPARAM) {
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(WizardFont()), FALSE);
    return TRUE;
}

// The page's edit and the boxes, as the checks see them.
class TPageSite : public IAnswerSite {
public:
    TPageSite(TEdit& edit, const TWizardForm::TMsgBoxFunction& msgBox) : edit_(edit), msgBox_(msgBox) {}
    void SetAnswer(const std::string& text) override { edit_.SetText(text); }
    void Warning(const std::string& text) override { msgBox_(text, "", mbWarning, MB_OK); }
    bool Question(const std::string& text, const std::string& caption, bool defaultNo) override {
        return msgBox_(text, caption, mbConfirm, MB_YESNO | (defaultNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1)) == IDYES;
    }

private:
    TEdit& edit_;
    const TWizardForm::TMsgBoxFunction& msgBox_;
};

}  // namespace

TWizardForm::TWizardForm(HWND mainWindow, TCloseMainQuery closeMain, std::function<HPALETTE()> palette)
    : TForm(mainWindow, bsDialog),
      Notebook1(Own<TNotebook>(*this, Bounds{144, 0, 345, 257}, kWizardPageCount)),
      lp(Add<TLabel>(Bounds{8, 258, 200, 13})),
      BackButton(Add<TButton>(Bounds{248, 272, 73, 25})),
      NextButton(Add<TButton>(Bounds{320, 272, 73, 25})),
      CancelButton(Add<TButton>(Bounds{400, 272, 73, 25})),
      RWelcome(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::Welcome), Bounds{8, 8, 329, 241})),
      RLic(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::License), Bounds{8, 8, 329, 89})),
      licensememo(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::License), Bounds{8, 96, 329, 161})),
      Rd(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::Destination), Bounds{8, 8, 329, 81})),
      DirLabel(Notebook1.Add<TLabel>(PageIndex(WizardPage::Destination), Bounds{8, 96, 329, 13})),
      DirEdit(Notebook1.Add<TEdit>(PageIndex(WizardPage::Destination), Bounds{8, 112, 329, 21})),
      bs(Notebook1.Add<TButton>(PageIndex(WizardPage::Destination), Bounds{264, 141, 73, 25})),
      KRichEdit1(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::Icons), Bounds{8, 8, 329, 81})),
      GroupLabel(Notebook1.Add<TLabel>(PageIndex(WizardPage::Icons), Bounds{8, 96, 329, 13})),
      GroupEdit(Notebook1.Add<TEdit>(PageIndex(WizardPage::Icons), Bounds{8, 112, 329, 21})),
      Button1(Notebook1.Add<TButton>(PageIndex(WizardPage::Icons), Bounds{264, 141, 73, 25})),
      RReady(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::Ready), Bounds{8, 8, 329, 241})),
      RFin(Notebook1.Add<TKRichEdit>(PageIndex(WizardPage::Finished), Bounds{8, 8, 329, 241})),
      bf(Own<TBrowseFolder>(Handle())),
      mainWindow_(mainWindow),
      closeMain_(std::move(closeMain)),
      palette_(std::move(palette)),
      msgBox_(&pelorin::MsgBox) {
    Add<TSidePicture>(Bounds{8, 8, 129, 249});
    SetClientSize(493, 309);
    CenterOnScreen();
    SetCaption("Pelorin Wizard");

    BackButton.SetCaption("< &Back");
    NextButton.SetCaption("&Next >");
    NextButton.SetDefault(true);
    CancelButton.SetCaption("C&ancel");
    CancelButton.SetCancel(true);
    lp.SetEnabled(false);
    DirLabel.SetCaption("Folder:");
    GroupLabel.SetCaption("Group:");
    bs.SetCaption("B&rowse...");
    Button1.SetCaption("B&rowse...");
    DirEdit.SetMaxLength(kTypingLimit);
    GroupEdit.SetMaxLength(kTypingLimit);

    for (TKRichEdit* label : {&RWelcome, &RLic, &Rd, &KRichEdit1, &RReady, &RFin}) {
        label->SetBorderStyle(bsNone);
        label->SetColor(RGB(192, 192, 192));
        label->SetReadOnly(true);
        label->SetEnabled(false);
    }
    bf.SetTitle("Browse Folders");
    // File-system folders only. Asking for computers as well would grey OK on every folder,
    // so that no folder could ever be chosen.
    bf.SetFlags(bfFileSysDirsOnly);
    bf.SetShowPathInStatusArea(false);
    bf.SetSyncCustomButton(false);
    licensememo.SetScrollBars(ssVertical);
    licensememo.SetReadOnly(true);

    BackButton.OnClick = [this](TComponent& sender) { BackButtonClick(sender); };
    NextButton.OnClick = [this](TComponent& sender) { NextButtonClick(sender); };
    CancelButton.OnClick = [this](TComponent& sender) { CancelButtonClick(sender); };
    bs.OnClick = [this](TComponent& sender) { bsClick(sender); };
    Button1.OnClick = [this](TComponent& sender) { Button1Click(sender); };
    OnCloseQuery = [this](TComponent& sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    ::EnumChildWindows(Handle(), &UseWizardFont, 0);
    FormCreate();
}

TWizardForm::~TWizardForm() = default;

void TWizardForm::FormCreate() {
    const SetupData& setup = Globals().Setup;
    licensememo.SetRichLines(setup.License ? *setup.License : StoredLicenseText());
    const std::array<TKRichEdit*, kWizardPageCount> labels = {&RWelcome, &RLic, &Rd, &KRichEdit1, &RReady, &RFin};
    for (int page = 0; page < kWizardPageCount; ++page)
        labels[static_cast<std::size_t>(page)]->SetRichLines(
            ReplacePlaceholders(WizardPageText(page), setup.Header.AppName, setup.Header.AppVerName, setup.TotalSize));
    lp.SetCaption(setup.Header.AppName + " ");
}

void TWizardForm::Show() {
    FormShow();
    TForm::Show();
    SetCurPage(CurPage);  // the focus rule needs the window shown
}

void TWizardForm::FormShow() {
    if (DefaultsLoaded) return;
    DefaultsLoaded = true;
    const SetupGlobals& globals = Globals();
    // Folder and group given on the command line take the defaults' place; the pages check them.
    DirEdit.SetText(globals.Options.Dir.value_or(globals.ProgramFilesDir + globals.Setup.Header.DefaultDirName));
    GroupEdit.SetText(globals.Options.Group.value_or(globals.Setup.Header.DefaultGroupName));
    CurPage = WizardPage::Welcome;
}

void TWizardForm::SetCurPage(WizardPage page) {
    if (page < WizardPage::Welcome || page > WizardPage::Finished) return;
    CurPage = page;
    Notebook1.SetPageIndex(PageIndex(page));
    BackButton.SetEnabled(page != WizardPage::Welcome && page != WizardPage::Finished);
    CancelButton.SetVisible(page != WizardPage::Finished);
    CancelButton.SetCancel(page != WizardPage::Finished);
    BackButton.SetCaption("< &Back");
    switch (page) {
    case WizardPage::License:
        NextButton.SetCaption("&Yes");
        CancelButton.SetCaption("&No");
        break;
    case WizardPage::Ready:
        NextButton.SetCaption("&Install");
        CancelButton.SetCaption("Cancel");
        break;
    case WizardPage::Finished:
        NextButton.SetCaption("&Finish");
        CancelButton.SetCaption("Cancel");
        break;
    default:
        NextButton.SetCaption("&Next >");
        CancelButton.SetCaption("Cancel");
        break;
    }
    SetCaption(kPageCaptions[static_cast<std::size_t>(PageIndex(page))]);
    switch (page) {
    case WizardPage::License: licensememo.SetFocus(); break;
    case WizardPage::Destination: DirEdit.SetFocus(); break;
    case WizardPage::Icons: GroupEdit.SetFocus(); break;
    case WizardPage::Finished: ::SetFocus(NextButton.Handle()); break;
    default: break;
    }
}

void TWizardForm::OfferRestart() {
    if (restartNow_) return;
    constexpr int kFinished = PageIndex(WizardPage::Finished);
    // The page's text keeps the top; the offer goes below it.
    RFin.SetBounds(Bounds{Notebook1.GetBounds().Left + 8, Notebook1.GetBounds().Top + 8, 329, 97});
    TLabel& text = Notebook1.Add<TLabel>(kFinished, Bounds{8, 112, 329, 28});
    TRadioButton& now = Notebook1.Add<TRadioButton>(kFinished, Bounds{8, 148, 329, 17}, true);
    TRadioButton& later = Notebook1.Add<TRadioButton>(kFinished, Bounds{8, 168, 329, 17});
    text.Name = "RestartLabel";
    now.Name = "RestartNow";
    later.Name = "RestartLater";
    for (const TControl* control :
         {static_cast<TControl*>(&text), static_cast<TControl*>(&now), static_cast<TControl*>(&later)})
        UseWizardFont(control->Handle(), 0);
    text.SetCaption("To complete the installation of " + Globals().Setup.Header.AppName +
                    ", Setup Wizard must restart your computer.");
    now.SetCaption("&Yes, restart the computer now");
    later.SetCaption("&No, I will restart the computer later");
    now.SetChecked(true);
    restartNow_ = &now;
}

std::optional<bool> TWizardForm::RestartChoice() const {
    if (!restartNow_) return std::nullopt;
    return restartNow_->Checked();
}

void TWizardForm::NextButtonClick(TComponent&) {
    if (CurPage == WizardPage::Destination) {
        TPageSite site(DirEdit, msgBox_);
        if (!CheckDestination(DirEdit.Text(), Globals().Setup.TotalSize, drives_ ? *drives_ : MachineDrives(), site))
            return;
    } else if (CurPage == WizardPage::Icons) {
        TPageSite site(GroupEdit, msgBox_);
        if (!CheckGroup(GroupEdit.Text(), site)) return;
    }
    Advance();
}

void TWizardForm::Advance() {
    if (CurPage < WizardPage::Ready) {
        SetCurPage(PageAfter(CurPage));
        return;
    }
    ClosingByCode = true;
    Close();
    ClosingByCode = false;
    if (mainWindow_) ::PostMessageA(mainWindow_, AdvanceStepMessage, 0, 0);
}

void TWizardForm::BackButtonClick(TComponent&) {
    if (CurPage == WizardPage::Welcome || CurPage == WizardPage::Finished) return;
    SetCurPage(PageBefore(CurPage));
}

void TWizardForm::CancelButtonClick(TComponent&) { Close(); }

void TWizardForm::FormCloseQuery(TComponent&, bool& canClose) {
    if (ClosingByCode) return;
    ClosingByCode = true;
    canClose = closeMain_ ? closeMain_() : AskExitSetup(msgBox_);
    ClosingByCode = false;
}

// The browser starts from the folder of the last confirmed browse, never from the edit's text;
// a cancelled browse puts that earlier folder back when there was one.
void TWizardForm::bsClick(TComponent&) {
    bf.Execute();
    if (!bf.Directory().empty()) DirEdit.SetText(bf.Directory());
}

// OK on a selected group puts its name into the edit; anything else leaves the edit alone.
void TWizardForm::Button1Click(TComponent&) {
    if (!groupBrowser_) return;
    std::string group = GroupEdit.Text();
    if (groupBrowser_->Execute(group)) GroupEdit.SetText(group);
}

LRESULT TWizardForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            lastFocus_ = ::GetFocus();
        } else if (lastFocus_ && ::IsChild(Handle(), lastFocus_) && ::IsWindowVisible(lastFocus_)) {
            ::SetFocus(lastFocus_);
            return 0;
        }
        break;
    default: break;
    }
    return TForm::WndProc(msg, wParam, lParam);
}

}  // namespace pelorin
