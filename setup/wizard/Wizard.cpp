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

namespace pelorin {

namespace {

using Bounds = TControl::Bounds;

constexpr int kPageCount = 6;
constexpr int kLastPage = 5;
constexpr int kTypingLimit = 63;
const std::array<const char*, kPageCount> kPageCaptions = {
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
      Notebook1(Own<TNotebook>(*this, Bounds{144, 0, 345, 257}, kPageCount)),
      lp(Add<TLabel>(Bounds{8, 258, 200, 13})),
      BackButton(Add<TButton>(Bounds{248, 272, 73, 25})),
      NextButton(Add<TButton>(Bounds{320, 272, 73, 25})),
      CancelButton(Add<TButton>(Bounds{400, 272, 73, 25})),
      RWelcome(Notebook1.Add<TKRichEdit>(0, Bounds{8, 8, 329, 241})),
      RLic(Notebook1.Add<TKRichEdit>(1, Bounds{8, 8, 329, 89})),
      licensememo(Notebook1.Add<TKRichEdit>(1, Bounds{8, 96, 329, 161})),
      Rd(Notebook1.Add<TKRichEdit>(2, Bounds{8, 8, 329, 81})),
      DirLabel(Notebook1.Add<TLabel>(2, Bounds{8, 96, 329, 13})),
      DirEdit(Notebook1.Add<TEdit>(2, Bounds{8, 112, 329, 21})),
      bs(Notebook1.Add<TButton>(2, Bounds{264, 141, 73, 25})),
      KRichEdit1(Notebook1.Add<TKRichEdit>(3, Bounds{8, 8, 329, 81})),
      GroupLabel(Notebook1.Add<TLabel>(3, Bounds{8, 96, 329, 13})),
      GroupEdit(Notebook1.Add<TEdit>(3, Bounds{8, 112, 329, 21})),
      Button1(Notebook1.Add<TButton>(3, Bounds{264, 141, 73, 25})),
      RReady(Notebook1.Add<TKRichEdit>(4, Bounds{8, 8, 329, 241})),
      RFin(Notebook1.Add<TKRichEdit>(5, Bounds{8, 8, 329, 241})),
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
    const std::array<TKRichEdit*, kPageCount> labels = {&RWelcome, &RLic, &Rd, &KRichEdit1, &RReady, &RFin};
    for (int page = 0; page < kPageCount; ++page)
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
    CurPage = 0;
}

void TWizardForm::SetCurPage(int page) {
    if (page < 0 || page > kLastPage) return;
    CurPage = page;
    Notebook1.SetPageIndex(page);
    BackButton.SetEnabled(page != 0 && page != kLastPage);
    CancelButton.SetVisible(page != kLastPage);
    CancelButton.SetCancel(page != kLastPage);
    BackButton.SetCaption("< &Back");
    switch (page) {
    case 1:
        NextButton.SetCaption("&Yes");
        CancelButton.SetCaption("&No");
        break;
    case 4:
        NextButton.SetCaption("&Install");
        CancelButton.SetCaption("Cancel");
        break;
    case kLastPage:
        NextButton.SetCaption("&Finish");
        CancelButton.SetCaption("Cancel");
        break;
    default:
        NextButton.SetCaption("&Next >");
        CancelButton.SetCaption("Cancel");
        break;
    }
    SetCaption(kPageCaptions[static_cast<std::size_t>(page)]);
    switch (page) {
    case 1: licensememo.SetFocus(); break;
    case 2: DirEdit.SetFocus(); break;
    case 3: GroupEdit.SetFocus(); break;
    case kLastPage: ::SetFocus(NextButton.Handle()); break;
    default: break;
    }
}

void TWizardForm::NextButtonClick(TComponent&) {
    if (CurPage == 2) {
        TPageSite site(DirEdit, msgBox_);
        if (!CheckDestination(DirEdit.Text(), Globals().Setup.TotalSize, drives_ ? *drives_ : MachineDrives(), site))
            return;
    } else if (CurPage == 3) {
        TPageSite site(GroupEdit, msgBox_);
        if (!CheckGroup(GroupEdit.Text(), site)) return;
    }
    Advance();
}

void TWizardForm::Advance() {
    if (CurPage < 4) {
        SetCurPage(CurPage + 1);
        return;
    }
    ClosingByCode = true;
    Close();
    ClosingByCode = false;
    if (mainWindow_) ::PostMessageA(mainWindow_, AdvanceStepMessage, 0, 0);
}

void TWizardForm::BackButtonClick(TComponent&) {
    if (CurPage == 0 || CurPage == kLastPage) return;
    SetCurPage(CurPage - 1);
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
