// Tfu: builds the form from its layout, applies the page-change rules, runs the leave-page
// checks and the update run, and ends the program after a failed run.
#include "update/ufup.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>

#include "core/Exception.h"
#include "ui/Application.h"
#include "update/AppendedArchive.h"
#include "update/KReg.h"
#include "update/strings/MemoryStream.h"
#include "update/ufupTexts.h"

namespace pelorin {

namespace {

constexpr int kPageLeft = 138, kPageTop = 8, kPageWidth = 313, kPageHeight = 273;
constexpr int kFileCopyClip = 161;  // the shell library's file-copy animation
constexpr int kSidePictureId = 101;

std::string UpperCase(std::string text) {
    if (!text.empty()) ::CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

void SelectGroup(TVCLUnZip& zip, const std::string& folder) {
    for (int i = 0; i < zip.EntryCount(); ++i) {
        if (UpperCase(kreg::RemoveBackslash(zip.EntryPath(i))) == folder)
            zip.FilesList().push_back(zip.EntryFullName(i));
    }
}

Tfu::Tfu() : TForm(nullptr, bsDialog) {
    SetCaption("Update Wizard");
    // A fixed single border with the system menu only: no minimise or maximise box.
    ::SetWindowLongPtrA(Handle(), GWL_EXSTYLE, ::GetWindowLongPtrA(Handle(), GWL_EXSTYLE) & ~WS_EX_DLGMODALFRAME);
    ::SetWindowLongPtrA(Handle(), GWL_STYLE, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER);
    SetClientSize(459, 330);
    CenterOnScreen();
    font_ = PointFont("MS Sans Serif", 8);
    boldFont_ = PointFont("MS Sans Serif", 8, FontStyle{true});

    KWizBmp_ = &Add<TGradPan>(TControl::Bounds{8, 8, 121, 265});
    KWizBmp_->SetBevelOuter(TBevelCut::bvNone);
    KWizBmp_->SetBorderStyle(TBorderStyle::bsSingle);
    KWizBmp_->SetCursor(IDC_HAND);
    sidePicture_.reset(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kSidePictureId), IMAGE_BITMAP, 0, 0,
                                    LR_DEFAULTCOLOR));
    KWizBmp_->SetBitmap(static_cast<HBITMAP>(sidePicture_.get()));
    KWizBmp_->SetBackGroundEffect(TDirection::bdTileImage);
    KWizBmp_->OnClick = [this](TComponent&) { KWizBmpClick(); };

    lev_ = &Add<TBevel>(TControl::Bounds{8, 289, 443, 2});
    lev_->SetShape(bsTopLine);
    Label1_ = &Add<TLabel>(TControl::Bounds{8, 304, 120, 14});
    Label1_->SetCaption("TZarnix ");
    Label1_->SetEnabled(false);
    bprev_ = &Add<TButton>(TControl::Bounds{208, 298, 75, 23});
    bprev_->SetCaption("< B&ack");
    bprev_->OnClick = [this](TComponent&) { bprevClick(); };
    bnext_ = &Add<TButton>(TControl::Bounds{283, 298, 75, 23});
    bnext_->SetCaption("N&ext >");
    bnext_->OnClick = [this](TComponent&) { bnextClick(); };
    bnext_->SetDefault(true);
    bcancel_ = &Add<TButton>(TControl::Bounds{376, 298, 75, 23});
    bcancel_->SetCaption("Can&cel");
    bcancel_->OnClick = [this](TComponent&) { bcancelClick(); };

    BuildPages();

    // Rich texts keep the fonts of their source: a font message would reset them.
    for (HWND child = ::GetWindow(Handle(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = {};
        ::GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "RichEdit20A") == 0) continue;
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    ::SendMessageA(bnext_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);

    bf_.SetTitle("Browse Folders");
    // File-system folders only. Asking for computers as well would grey OK on every folder,
    // so that no folder could ever be chosen.
    bf_.SetFlags(bfFileSysDirsOnly);
    unz_.SetRecreateDirs(true);
    unz_.SetOverwriteMode(TUZOverwriteMode::Always);
    unz_.OnTotalPercentDone = [this](TVCLUnZip&, int percent) { j_->SetPosition(progressBase_ + percent); };
    unz_.OnBadCRC = [this](TVCLUnZip& sender, std::uint32_t, std::uint32_t, int index) {
        failed_.push_back(sender.EntryFullName(index));
    };
    unz_.OnSkippingFile = [this](TVCLUnZip& sender, TSkipReason, int index) {
        failed_.push_back(sender.EntryFullName(index));
    };

    OnCloseQuery = [this](TComponent&, bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](TComponent&) { ::PostQuitMessage(exitCode_); };
}

Tfu::~Tfu() = default;

TKRichEdit& Tfu::RichLabel(UpdatePage page, const TControl::Bounds& bounds, const char* rtf) {
    TKRichEdit& label = page_->Add<TKRichEdit>(PageIndex(page), bounds);
    label.SetBorderStyle(bsNone);
    label.SetColor(::GetSysColor(COLOR_BTNFACE));
    label.SetReadOnly(true);
    label.SetEnabled(false);
    label.SetRichLines(rtf);
    return label;
}

void Tfu::BuildPages() {
    page_ = &Own<TNotebook>(*this, TControl::Bounds{kPageLeft, kPageTop, kPageWidth, kPageHeight}, kUpdatePageCount);
    RichLabel(UpdatePage::Welcome, {0, 0, kPageWidth, kPageHeight}, ufup::kWelcomeRtf);
    RichLabel(UpdatePage::License, {0, 0, kPageWidth, 60}, ufup::kLicenseHeadingRtf);
    TKRichEdit& license =
        page_->Add<TKRichEdit>(PageIndex(UpdatePage::License), TControl::Bounds{0, 64, kPageWidth, kPageHeight - 64});
    license.SetReadOnly(true);
    license.SetScrollBars(ssVertical);
    license.SetRichLines(ufup::kLicenseRtf);

    const int directory = PageIndex(UpdatePage::Directory);
    RichLabel(UpdatePage::Directory, {0, 0, kPageWidth, 64}, ufup::kDirectoryHeadingRtf);
    const char* const labels[] = {"TZarnix Main Folder:", "Delphi 2 Units:", "Delphi 3 Units:"};
    TEdit** const edits[] = {&diredit_, &dir2_, &dir3_};
    for (int i = 0; i < 3; ++i) {
        const int top = 72 + 48 * i;
        page_->Add<TLabel>(directory, TControl::Bounds{0, top, 200, 14}).SetCaption(labels[i]);
        TEdit& edit = page_->Add<TEdit>(directory, TControl::Bounds{0, top + 16, 280, 21});
        edit.SetMaxLength(63);
        *edits[i] = &edit;
        TButton& browse = page_->Add<TButton>(directory, TControl::Bounds{288, top + 16, 25, 21});
        browse.SetCaption("...");
        browse.OnClick = [this, &edit](TComponent&) { BrowseClick(edit); };
    }
    diredit_->OnChange = [this](TComponent&) { direditChange(); };
    lch_ = &page_->Add<TLabel>(directory, TControl::Bounds{0, 224, kPageWidth, 14});
    lch_->SetCaption("Checking for TZarnix Units...");
    lch_->SetVisible(false);

    RichLabel(UpdatePage::Summary, {0, 0, kPageWidth, 60}, ufup::kSummaryHeadingRtf);
    sum_ = &page_->Add<TMemo>(PageIndex(UpdatePage::Summary), TControl::Bounds{0, 64, kPageWidth, kPageHeight - 64},
                              ssVertical);
    sum_->SetReadOnly(true);

    anim_ = &page_->Add<TAnimate>(PageIndex(UpdatePage::Updating), TControl::Bounds{20, 40, 272, 60});
    anim_->SetCommonAVI(kFileCopyClip);
    anim_->SetStopFrame(34);
    l_ = &page_->Add<TLabel>(PageIndex(UpdatePage::Updating), TControl::Bounds{0, 120, kPageWidth, 14});
    l_->SetCaption("Updating ...");
    j_ = &page_->Add<TProgressBar>(PageIndex(UpdatePage::Updating), TControl::Bounds{0, 140, kPageWidth, 16});
    j_->SetMax(450);

    RichLabel(UpdatePage::Complete, {0, 0, kPageWidth, kPageHeight}, ufup::kCompleteRtf);
}

void Tfu::FormShow() {
    Show();
    SetPage(UpdatePage::Welcome);
}

void Tfu::SetPage(UpdatePage page) {
    page_->SetPageIndex(PageIndex(page));
    curPage_ = page;
    PageChanged();
}

void Tfu::PageChanged() {
    bnext_->SetCaption("N&ext >");
    bcancel_->SetCaption("Canc&el");
    bprev_->SetEnabled(curPage_ >= UpdatePage::License && curPage_ <= UpdatePage::Summary);
    bnext_->SetEnabled(curPage_ <= UpdatePage::Summary);
    if (curPage_ == UpdatePage::License) {
        bnext_->SetCaption("&Yes");
        bcancel_->SetCaption("&No");
    } else if (curPage_ == UpdatePage::Summary) {
        bnext_->SetCaption("&Update");
    } else if (curPage_ == UpdatePage::Complete) {
        bcancel_->SetCaption("Cl&ose");
    }
}

void Tfu::bprevClick() {
    if (curPage_ > UpdatePage::Welcome) SetPage(PageBefore(curPage_));
}

void Tfu::bnextClick() {
    try {
        switch (curPage_) {
        case UpdatePage::Welcome: LeaveWelcome(); break;
        case UpdatePage::License: LeaveLicense(); break;
        case UpdatePage::Directory: LeaveDirectory(); break;
        case UpdatePage::Summary: StartUpdate(); return;
        default: return;
        }
    } catch (const EAbort&) {
        return;
    } catch (const std::exception& error) {
        ::MessageBoxA(Handle(), error.what(), "Error", MB_OK | MB_ICONSTOP);
        return;
    }
    SetPage(PageAfter(curPage_));
}

void Tfu::bcancelClick() { Close(); }

void Tfu::BrowseClick(TEdit& edit) {
    bf_.SetOwnerHandle(Handle());
    bf_.Execute();
    if (!bf_.Directory().empty()) edit.SetText(bf_.Directory());
}

void Tfu::direditChange() {
    const std::string main = kreg::AddBackslash(diredit_->Text());
    dir2_->SetText(main + "Delphi 2");
    dir3_->SetText(main + "Delphi 3");
}

void Tfu::KWizBmpClick() {
    ::MessageBoxA(Handle(), ufup::kAboutText, "About Update Wizard", MB_OK | MB_ICONINFORMATION);
}

int Tfu::Ask(const char* text, const char* caption, UINT icon) {
    return ::MessageBoxA(Handle(), text, caption, MB_YESNO | icon);
}

void Tfu::LeaveWelcome() {
    if (kreg::ReadString(kreg::kLocalMachine, kProductKey, "Version", "") != "1.1" &&
        Ask("This update works only with TZarnix version 1.1.\rDo you wish to continue?", "Warning",
            MB_ICONEXCLAMATION) == IDNO) {
        throw Exception("Update works on TZarnix 1.1 only.");
    }
    if (kreg::ReadString(kreg::kLocalMachine, kProductKey, "Pro", "") == "1" &&
        Ask("You have already updated TZarnix version 1.1.\rDo you still wish to continue?", "Warning", 0) == IDNO) {
        throw Exception("Already updated TZarnix 1.1.");
    }
}

void Tfu::LeaveLicense() { diredit_->SetText(kreg::ReadString(kreg::kLocalMachine, kProductKey, "Path", "")); }

void Tfu::LeaveDirectory() {
    if (!system_.DirectoryExists(kreg::RemoveBackslash(diredit_->Text())))
        throw Exception("Please select an existing folder.");
    lch_->SetVisible(true);
    ProcessMessages();
    const bool units2 = system_.FileExists(UpperCase(kreg::AddBackslash(dir2_->Text()) + "KZarnix.Dcu"));
    const bool units3 = system_.FileExists(UpperCase(kreg::AddBackslash(dir3_->Text()) + "KZarnix.Dcu"));
    lch_->SetVisible(false);
    if ((!units2 || !units3) &&
        Ask("Update Wizard has not found the required units files. If the old files do not exist, the update can "
            "fail.\rAre you sure you want to continue?",
            "Warning", 0) == IDNO) {
        throw Exception("Please select the folder which contains TZarnix.");
    }
    std::string summary;
    for (const std::string& line : {std::string("Update Summary for TZarnix 1.1"), "Location: " + diredit_->Text(),
                                    std::string(), std::string("- Update Units files for Delphi 2 and Delphi 3."),
                                    std::string("- Install TZarnix Professional edition Help file."),
                                    std::string("- Install TZarnix Self-Extracting Builder source code."),
                                    std::string("- Modify current configuration for TZarnix."), std::string(),
                                    std::string("Ready to update TZarnix.")}) {
        summary += (summary.empty() ? "" : "\r\n") + line;
    }
    sum_->SetLines(summary);
}

void Tfu::StartUpdate() {
    anim_->SetActive(true);
    bnext_->SetVisible(false);
    bprev_->SetVisible(false);
    bcancel_->SetEnabled(false);
    l_->SetCaption("Initializing update algorithm...");
    SetPage(UpdatePage::Updating);
    running_ = true;
    try {
        Pump();
        UpdateRun();
        running_ = false;
    } catch (const std::exception& error) {
        running_ = false;
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
        // A close confirmed during the run ends the program without a further word.
        if (!closeAccepted_) {
            const bool silent = dynamic_cast<const EAbort*>(&error) != nullptr;
            if (!silent) ShowError(std::string(error.what()) + "\rUpdate is aborted.");
            exitCode_ = 1;
        }
        closeAccepted_ = true;
        Hide();
        ::PostQuitMessage(exitCode_);
    }
}

void Tfu::ShowError(const std::string& message) {
    ::MessageBoxA(Handle(), message.c_str(), "Error", MB_OK | MB_ICONSTOP);
}

void Tfu::Pump() {
    ProcessMessages();
    if (closeAccepted_) throw EAbort();
}

void Tfu::UpdateRun() {
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    failed_.clear();
    l_->SetCaption("Checking TZarnix Update Files...");
    Pump();
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    unz_.SetArchiveStream(std::make_unique<TMemoryStream>(ReadAppendedArchive(path)));
    unz_.ReadDirectory();
    j_->SetPosition(30);
    unz_.SetDestDir(diredit_->Text());
    unz_.SetRootDir(diredit_->Text());

    l_->SetCaption("Replacing TZarnix Units Files...");
    Pump();
    unz_.FilesList().clear();
    j_->SetPosition(20);
    progressBase_ = j_->Position();
    SelectGroup(unz_, "DELPHI 2");
    progressBase_ = j_->Position();
    unz_.Extract();
    Pump();

    unz_.FilesList().clear();
    progressBase_ = j_->Position();
    SelectGroup(unz_, "DELPHI 3");
    unz_.Extract();

    l_->SetCaption("Installing TZarnix Professional edition Help files...");
    Pump();
    unz_.FilesList().clear();
    progressBase_ = j_->Position();
    unz_.FilesList().push_back("tzxpro.hlp");
    unz_.Extract();

    l_->SetCaption("Installing TZarnix Self-Extracting Builder...");
    Pump();
    unz_.FilesList().clear();
    SelectGroup(unz_, "TOOLS");
    progressBase_ = j_->Position();
    unz_.Extract();

    l_->SetCaption("Updating TZarnix Settings...");
    Pump();
    // Without its mark the product can be updated again, which replaces the files left out.
    if (failed_.empty()) {
        kreg::WriteString(kreg::kLocalMachine, kProductKey, "Pro", "1");
    } else {
        ReportFailedFiles();
    }

    l_->SetCaption("TZarnix Update Complete.");
    j_->SetPosition(std::min(j_->Position() + 100, j_->Max()));
    Pump();

    unz_.CloseArchive();
    anim_->SetActive(false);
    SetPage(UpdatePage::Complete);
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    bcancel_->SetEnabled(true);
}

// The old files stayed where they were; the user learns which ones and that a new run helps.
void Tfu::ReportFailedFiles() {
    std::string message =
        "Update Wizard could not update these files and kept the old ones. Run the update again to replace them:";
    for (const std::string& name : failed_) message += "\r" + name;
    ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    ::MessageBoxA(Handle(), message.c_str(), "Update Wizard", MB_OK | MB_ICONEXCLAMATION);
    ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

void Tfu::FormCloseQuery(bool& canClose) {
    if (closeAccepted_) return;  // the program is ending after a failed run
    if (bcancel_->Caption() == "Cl&ose") {
        ::ShellExecuteA(Handle(), "open", "tzxpro.hlp", nullptr, diredit_->Text().c_str(), SW_SHOWNORMAL);
        return;
    }
    canClose = Ask("Are you sure you want to exit this wizard without updating TZarnix?", "Confirmation",
                   MB_ICONQUESTION) == IDYES;
    if (canClose && running_) {
        closeAccepted_ = true;
        unz_.SetCancelRequested(true);
    }
}

}  // namespace pelorin
