// TApplication: the hidden window, its hooks and the application events derived from the main
// form's reports; the message services keep windows alive during long work on the one thread.
#include "ui/Application.h"

#include "core/Exception.h"
#include "ui/Form.h"

namespace pelorin {

namespace {
const char* const kApplicationClass = "PelorinApplication";
}

TApplication& TApplication::Instance() {
    static TApplication application;
    return application;
}

HWND TApplication::Handle() {
    if (handle_) return handle_;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TApplication::StaticWndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kApplicationClass;
    ::RegisterClassExA(&wc);
    // A popup of no size that is never shown: it takes no place in the task bar or on screen.
    handle_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, kApplicationClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
    if (!handle_) throw Exception("Cannot create the application window");
    return handle_;
}

bool TApplication::Minimized() const { return mainForm_ && ::IsIconic(mainForm_->Handle()); }

int TApplication::HookMainWindow(THook hook) {
    const int key = nextHookKey_++;
    hooks_.emplace_back(key, std::move(hook));
    return key;
}

void TApplication::UnhookMainWindow(int key) {
    for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
        if (it->first == key) {
            hooks_.erase(it);
            return;
        }
    }
}

void TApplication::MainFormPositionChanged(const WINDOWPOS& position) {
    WINDOWPOS copy = position;
    ::SendMessageA(Handle(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&copy));
}

LRESULT TApplication::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // A hook may remove itself or another one while it runs: work on a copy.
    const std::vector<std::pair<int, THook>> hooks = hooks_;
    for (const auto& [key, hook] : hooks) {
        LRESULT result = 0;
        if (hook && hook(msg, wParam, lParam, result)) return result;
    }
    switch (msg) {
    case WM_WINDOWPOSCHANGED: {
        const bool minimized = Minimized();
        if (minimized == minimized_) return 0;
        minimized_ = minimized;
        const auto& handler = minimized ? OnMinimize : OnRestore;
        if (handler) handler();
        return 0;
    }
    case WM_ACTIVATEAPP:
        if (wParam && OnActivate) OnActivate();
        return 0;
    default: return ::DefWindowProcA(handle_, msg, wParam, lParam);
    }
}

LRESULT CALLBACK TApplication::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TApplication& application = Instance();
    if (application.handle_ != wnd) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    return application.WndProc(msg, wParam, lParam);
}

bool TranslateFormMessage(MSG& msg) {
    if (!msg.hwnd) return false;
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    const HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (!TForm::FromHandle(root)) return false;
    return ::IsDialogMessageA(root, &msg) != FALSE;
}

void ProcessMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (TranslateFormMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateFormMessage(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void TerminateApplication() { ::PostQuitMessage(0); }

}  // namespace pelorin
