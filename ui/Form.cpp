// TForm: window class registration, creation, close protocol and command routing to controls.
// Controls are freed before the form's own window is destroyed.
#include "ui/Form.h"

#include <commctrl.h>

#include "core/Exception.h"
#include "ui/Application.h"
#include "ui/CommonControls.h"
#include "ui/Control.h"
#include "ui/Graphics.h"

namespace pelorin {

namespace {

const char* const kFormClass = "PelorinForm";

void RegisterFormClass(WNDPROC proc) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    // A second registration fails harmlessly with "class already exists".
    ::RegisterClassExA(&wc);
}

DWORD StyleOf(TFormBorderStyle border) {
    if (border == bsDialog) return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    return WS_OVERLAPPEDWINDOW;
}

DWORD ExStyleOf(TFormBorderStyle border) {
    const DWORD common = WS_EX_CONTROLPARENT;
    return border == bsDialog ? common | WS_EX_DLGMODALFRAME : common;
}

}  // namespace

TForm::TForm(HWND ownerWindow, TFormBorderStyle borderStyle) {
    InitCommonControlClasses(ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS);
    RegisterFormClass(&TForm::StaticWndProc);
    handle_.reset(::CreateWindowExA(ExStyleOf(borderStyle), kFormClass, "", StyleOf(borderStyle), CW_USEDEFAULT,
                                    CW_USEDEFAULT, 320, 240, ownerWindow, nullptr, ::GetModuleHandleA(nullptr), this));
    if (!handle_) throw Exception("Cannot create a window");
}

TForm::~TForm() {
    cancelControl_ = nullptr;
    defaultControl_ = nullptr;
    TApplication& application = TApplication::Instance();
    if (application.MainForm() == this) application.SetMainForm(nullptr);
    DestroyComponents();
    if (handle_) ::SetWindowLongPtrA(handle_.get(), GWLP_USERDATA, 0);
}

TForm* TForm::FromHandle(HWND wnd) {
    if (!wnd) return nullptr;
    char name[32] = {};
    if (!::GetClassNameA(wnd, name, sizeof name) || lstrcmpA(name, kFormClass) != 0) return nullptr;
    return reinterpret_cast<TForm*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    ::SetWindowTextA(Handle(), caption_.c_str());
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_EXSTYLE));
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    ::SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TForm::ClientSize() const {
    RECT r{};
    ::GetClientRect(Handle(), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void TForm::CenterOnScreen() {
    RECT r{};
    ::GetWindowRect(Handle(), &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    ::SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    const int command[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ::ShowWindow(Handle(), Visible() && windowState_ == wsNormal ? SW_SHOW : command[windowState_]);
    ::UpdateWindow(Handle());
}

void TForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (Visible()) Show();
}

void TForm::Hide() { ::ShowWindow(Handle(), SW_HIDE); }

void TForm::Repaint() {
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ::UpdateWindow(Handle());
}

bool TForm::Visible() const { return ::IsWindowVisible(Handle()) != FALSE; }

bool TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(*this, canClose);
    if (!canClose) return false;
    if (OnClose) OnClose(*this);
    Hide();
    if (TApplication::Instance().MainForm() == this) TerminateApplication();
    return true;
}

void TForm::AppendSystemMenuItem(UINT id, const std::string& caption) {
    const HMENU menu = ::GetSystemMenu(Handle(), FALSE);
    if (!menu) return;
    if (caption.empty())
        ::AppendMenuA(menu, MF_SEPARATOR, id, nullptr);
    else
        ::AppendMenuA(menu, MF_STRING, id, caption.c_str());
}

bool TForm::RealizeOwnPalette(bool background) {
    const HPALETTE palette = GetPalette();
    if (!palette) return false;
    UINT changed = 0;
    {
        const ClientDc dc(Handle());
        const SelectedPalette selected(dc.get(), palette, background);
        changed = selected.Realize();
    }
    if (changed != 0 && changed != GDI_ERROR)
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return true;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE: Close(); return 0;
    case WM_COMMAND: {
        TControl* const control = TControl::FromHandle(reinterpret_cast<HWND>(lParam));
        if (control) {
            control->Command(HIWORD(wParam));
        } else if (LOWORD(wParam) == IDCANCEL && cancelControl_) {
            if (cancelControl_->Enabled() && cancelControl_->Visible())
                cancelControl_->Command(BN_CLICKED);  // Escape, sent by the dialog-key handling
        } else if (LOWORD(wParam) == IDOK && defaultControl_) {
            if (defaultControl_->Enabled() && defaultControl_->Visible())
                defaultControl_->Command(BN_CLICKED);  // Enter, sent by the dialog-key handling
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) RealizeOwnPalette(false);
        return ::DefWindowProcA(Handle(), msg, wParam, lParam);
    case WM_QUERYNEWPALETTE:
        if (RealizeOwnPalette(false)) return TRUE;
        return ::DefWindowProcA(Handle(), msg, wParam, lParam);
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != Handle()) RealizeOwnPalette(true);
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (TApplication::Instance().MainForm() == this)
            TApplication::Instance().MainFormPositionChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        return ::DefWindowProcA(Handle(), msg, wParam, lParam);
    default: return ::DefWindowProcA(Handle(), msg, wParam, lParam);
    }
}

LRESULT CALLBACK TForm::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    TForm* const form = reinterpret_cast<TForm*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
    if (!form || !form->handle_) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    return form->WndProc(msg, wParam, lParam);
}

}  // namespace pelorin
