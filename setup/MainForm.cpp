// TMainForm: creation, painting (gradient bands through the palette, or one flat colour, and the
// shadowed title), the close query, keys, minimising and the first activation.
#include "setup/MainForm.h"

#include <vector>

#include "setup/Background.h"
#include "setup/ExitQuestion.h"
#include "setup/Globals.h"
#include "setup/MsgBox.h"
#include "setup/wizard/Pictures.h"
#include "ui/Application.h"
#include "ui/Graphics.h"

namespace pelorin {

namespace {

// Colour values marked this way are drawn with the nearest entry of the selected palette.
constexpr COLORREF kPaletteRelative = 0x02000000;

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnedForm(HWND wnd, LPARAM param) {
    auto& search = *reinterpret_cast<OwnedSearch*>(param);
    if (::GetWindow(wnd, GW_OWNER) == search.owner && TForm::FromHandle(wnd)) search.found.push_back(wnd);
    return TRUE;
}

// The top-level forms owned by owner, in z-order.
std::vector<HWND> OwnedForms(HWND owner) {
    OwnedSearch search{owner, {}};
    ::EnumWindows(&CollectOwnedForm, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool AskExitSetupByMsgBox() { return AskExitSetup(&MsgBox); }

}  // namespace

TMainForm::TMainForm()
    : TForm(nullptr, bsSizeable),
      Image1(Add<TImage>(TControl::Bounds{16, 16, 97, 73})),
      askExit_(&AskExitSetupByMsgBox) {
    Image1.Name = "Image1";
    FormCreate();
}

TMainForm::~TMainForm() { FormDestroy(); }

void TMainForm::FormCreate() {
    TApplication& application = TApplication::Instance();
    application.SetMainForm(this);
    Image1.LoadFromResource(kLogoPictureId);
    ::SetWindowPos(Handle(), nullptr, 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowState(wsMaximized);
    const SetupHeader& header = Globals().Setup.Header;
    SetCaption(BackgroundCaption(header.AppName));
    AppendSystemMenuItem(kSeparatorCommand, "");
    AppendSystemMenuItem(kAboutCommand, "&About Pelorin Wizard...");
    if (!(header.Flags & SetupHeader::SolidBackground)) {
        const COLORREF base = ColorToRGB(header.BackColor);
        std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + kBackgroundBands * sizeof(PALETTEENTRY));
        auto* const logical = reinterpret_cast<LOGPALETTE*>(storage.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = kBackgroundBands;
        for (int i = 0; i < kBackgroundBands; ++i) {
            const COLORREF colour = ScaleColor(base, BandFactor(i));
            logical->palPalEntry[i] = PALETTEENTRY{GetRValue(colour), GetGValue(colour), GetBValue(colour), 0};
        }
        palette_.reset(::CreatePalette(logical));
    }
    application.Handle();  // the hidden window exists before the hook is put on it
    application.OnActivate = [this] { AppActivate(); };
    application.OnRestore = [this] { AppRestore(); };
    hookKey_ = application.HookMainWindow([this](UINT msg, WPARAM, LPARAM, LRESULT&) { return AppWindowHook(msg); });
    OnCloseQuery = [this](TComponent&, bool& canClose) { FormCloseQuery(canClose); };
    OnClose = [this](TComponent&) { FormClose(); };
}

void TMainForm::FormDestroy() {
    TApplication& application = TApplication::Instance();
    application.UnhookMainWindow(hookKey_);
    application.OnActivate = nullptr;
    application.OnRestore = nullptr;
    palette_.reset();
}

HPALETTE TMainForm::GetPalette() { return static_cast<HPALETTE>(palette_.get()); }

bool TMainForm::CloseMainQuery() {
    Close();
    return CloseAccepted;
}

void TMainForm::FormCloseQuery(bool& canClose) {
    if (RunningPrograms) {
        canClose = false;
        return;
    }
    if (SetupStep > SetupStage::Installation) {
        canClose = true;
        return;
    }
    canClose = askExit_();
}

void TMainForm::FormClose() { CloseAccepted = true; }

void TMainForm::FormActivate() { StartSequence(); }

void TMainForm::StartSequence() {
    if (StartedOnce) return;
    // Set before the step runs: the wizard that it shows must not start the sequence again.
    StartedOnce = true;
    SetupStep = SetupStage::NotStarted;
    ::SendMessageA(Handle(), AdvanceStepMessage, 0, 0);
}

void TMainForm::FormPaint(HDC dc) {
    const SelectedPalette palette(dc, GetPalette(), false);
    palette.Realize();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const SetupHeader& header = Globals().Setup.Header;
    if (header.Flags & SetupHeader::SolidBackground) {
        // A system colour stays one: its brush follows the colour scheme.
        GdiHandle own;
        HBRUSH brush = nullptr;
        if (header.BackColor & kSystemColorFlag) {
            brush = ::GetSysColorBrush(static_cast<int>(header.BackColor & 0xFF));
        } else {
            own.reset(::CreateSolidBrush(header.BackColor & 0xFFFFFF));
            brush = static_cast<HBRUSH>(own.get());
        }
        ::FillRect(dc, &client, brush);
    } else {
        const COLORREF base = ColorToRGB(header.BackColor);
        const int width = client.right, height = client.bottom;
        for (int i = 0; i < kBackgroundBands; ++i) {
            const GdiHandle brush(::CreateSolidBrush(ScaleColor(base, BandFactor(i)) | kPaletteRelative));
            const RECT band{0, BandTop(height, i), width, BandTop(height, i + 1)};
            ::FillRect(dc, &band, static_cast<HBRUSH>(brush.get()));
        }
    }
    const PointFont font("Times New Roman", 24, FontStyle{false, true, DEFAULT_PITCH | FF_ROMAN});
    const SelectedObject selectedFont(dc, font.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    const std::string text = BackgroundText(header.AppName);
    const int left = Image1.GetBounds().Left;
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::TextOutA(dc, left + 98, 20, text.c_str(), static_cast<int>(text.size()));
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutA(dc, left + 96, 16, text.c_str(), static_cast<int>(text.size()));
}

void TMainForm::FormKeyDown(WPARAM& key) {
    key = 0;
    for (const HWND wnd : OwnedForms(Handle())) {
        ::BringWindowToTop(wnd);
        break;
    }
}

void TMainForm::AppActivate() {
    if (!GetPalette()) return;
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

void TMainForm::AppRestore() {
    minimised_ = false;
    ShowOwnedForms();
}

bool TMainForm::AppWindowHook(UINT msg) {
    if (msg != WM_WINDOWPOSCHANGED) return false;
    const bool minimised = TApplication::Instance().Minimized();
    if (minimised == minimised_) return false;
    minimised_ = minimised;
    if (!minimised && Visible())
        ShowOwnedForms();
    else
        HideOwnedForms();
    return false;
}

void TMainForm::HideOwnedForms() {
    for (const HWND wnd : OwnedForms(Handle())) {
        if (!::IsWindowVisible(wnd)) continue;
        ::ShowWindow(wnd, SW_HIDE);
        hiddenForms_.push_back(wnd);
    }
}

void TMainForm::ShowOwnedForms() {
    // Only the forms that minimising hid come back: a wizard hidden during the installation
    // stays hidden.
    const std::vector<HWND> forms = std::move(hiddenForms_);
    hiddenForms_.clear();
    for (const HWND wnd : forms)
        if (TForm::FromHandle(wnd)) ::ShowWindow(wnd, SW_SHOW);
}

LRESULT TMainForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: return 0;  // the paint handler covers the whole client area
    case WM_PAINT: {
        const PaintDc dc(Handle());
        FormPaint(dc.get());
        return 0;
    }
    case WM_GETDLGCODE: return ::DefWindowProcA(Handle(), msg, wParam, lParam) | DLGC_WANTTAB;
    case WM_SIZE: {
        const LRESULT result = TForm::WndProc(msg, wParam, lParam);
        ::InvalidateRect(Handle(), nullptr, FALSE);
        ::UpdateWindow(Handle());
        return result;
    }
    case WM_SYSCOMMAND:
        if (wParam == kAboutCommand && about_) about_->ShowModal();
        return TForm::WndProc(msg, wParam, lParam);
    case WM_KEYDOWN: {
        WPARAM key = wParam;
        FormKeyDown(key);
        if (key == 0) return 0;
        return TForm::WndProc(msg, key, lParam);
    }
    case WM_ACTIVATE: {
        const LRESULT result = TForm::WndProc(msg, wParam, lParam);
        if (LOWORD(wParam) != WA_INACTIVE) FormActivate();
        return result;
    }
    case AdvanceStepMessage:
        if (OnAdvanceStep) OnAdvanceStep(*this);
        return 0;
    default: return TForm::WndProc(msg, wParam, lParam);
    }
}

}  // namespace pelorin
