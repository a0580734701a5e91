// Window finding, control reading and pressing for tests that drive another program:
// messages go through the system's marshalling, icons are matched on the screen.
#include "tests/e2e/driver/Driver.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "ui/Graphics.h"

namespace pelorin::driver {

namespace {

constexpr UINT kMessageTimeoutMs = 3000;
constexpr int kMessageBoxTextId = 0xFFFF;

std::string ClassOf(HWND window) {
    char name[256] = {};
    const int n = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? n : 0);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Matches(const WindowInfo& info, const WindowQuery& query) {
    if (query.visibleOnly && !info.visible) return false;
    if (query.pid != 0 && info.pid != query.pid) return false;
    if (!query.className.empty() && info.className != query.className) return false;
    if (!query.caption.empty() && info.caption != query.caption) return false;
    return true;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelHandles() {
    std::vector<HWND> handles;
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&handles));
    return handles;
}

std::vector<HWND> ChildHandles(HWND window) {
    std::vector<HWND> handles;
    ::EnumChildWindows(window, CollectWindow, reinterpret_cast<LPARAM>(&handles));
    return handles;
}

int StandardButtonId(const std::string& name) {
    static const struct {
        const char* name;
        int id;
    } kButtons[] = {{"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},      {"no", IDNO},
                    {"abort", IDABORT}, {"retry", IDRETRY},   {"ignore", IDIGNORE}};
    const std::string lower = Lower(name);
    for (const auto& button : kButtons)
        if (lower == button.name) return button.id;
    return 0;
}

// --- Icons -------------------------------------------------------------------

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> data;  // top-down rows, 0x00RRGGBB
};

// The icon control of a message box: a visible static control of style SS_ICON.
HWND IconControl(HWND dialog) {
    for (HWND child : ChildHandles(dialog)) {
        if (Lower(ClassOf(child)) != "static" || !::IsWindowVisible(child)) continue;
        const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) return child;
    }
    return nullptr;
}

Pixels CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const PixelCanvas canvas(width, height);
    if (!canvas) return {};
    {
        const ClientDc screen(nullptr);
        ::BitBlt(canvas.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    }
    return {width, height, canvas.Pixels()};
}

Pixels RenderIcon(LPCSTR which, int width, int height, COLORREF background) {
    const PixelCanvas canvas(width, height);
    if (!canvas) return {};
    const HBRUSH brush = ::CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    ::FillRect(canvas.get(), &all, brush);
    ::DeleteObject(brush);
    ::DrawIconEx(canvas.get(), 0, 0, ::LoadIconA(nullptr, which), 0, 0, 0, nullptr, DI_NORMAL);
    return {width, height, canvas.Pixels()};
}

double Similarity(const Pixels& a, const Pixels& b) {
    if (a.data.empty() || a.data.size() != b.data.size()) return 0.0;
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.data.size(); ++i) same += a.data[i] == b.data[i];
    return static_cast<double>(same) / static_cast<double>(a.data.size());
}

std::string MatchIcon(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    const int width = std::min<int>(rect.right - rect.left, ::GetSystemMetrics(SM_CXICON));
    const int height = std::min<int>(rect.bottom - rect.top, ::GetSystemMetrics(SM_CYICON));
    if (width <= 0 || height <= 0) return "unknown";
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    const Pixels shown = CaptureScreen(rect);
    if (shown.data.empty()) return "unknown";
    // The icon is drawn over the dialog's face; the icon's transparent corner shows it.
    const std::uint32_t corner = shown.data.front();
    const COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
    static const struct {
        LPCSTR id;
        const char* name;
    } kIcons[] = {{IDI_HAND, "stop"},
                  {IDI_QUESTION, "question"},
                  {IDI_EXCLAMATION, "exclamation"},
                  {IDI_ASTERISK, "information"}};
    std::string best = "unknown";
    double bestScore = 0.9;  // below this nothing counts as a match
    for (const auto& icon : kIcons) {
        const double score = Similarity(shown, RenderIcon(icon.id, width, height, background));
        if (score > bestScore) {
            bestScore = score;
            best = icon.name;
        }
    }
    return best;
}

}  // namespace

// --- Windows -----------------------------------------------------------------

WindowInfo DescribeWindow(HWND window) {
    WindowInfo info;
    info.handle = window;
    ::GetWindowThreadProcessId(window, &info.pid);
    info.className = ClassOf(window);
    info.caption = GetText(window);
    info.visible = ::IsWindowVisible(window) != FALSE;
    info.enabled = ::IsWindowEnabled(window) != FALSE;
    return info;
}

std::vector<WindowInfo> FindWindows(const WindowQuery& query) {
    std::vector<WindowInfo> found;
    for (HWND window : TopLevelHandles()) {
        WindowInfo info = DescribeWindow(window);
        if (Matches(info, query)) found.push_back(std::move(info));
    }
    return found;
}

HWND WaitForWindow(const WindowQuery& query, double timeoutSeconds) {
    HWND found = nullptr;
    PollUntil(timeoutSeconds, [&] {
        const std::vector<WindowInfo> windows = FindWindows(query);
        if (!windows.empty()) found = windows.front().handle;
        return found != nullptr;
    });
    return found;
}

bool WaitForNoWindow(const WindowQuery& query, double timeoutSeconds) {
    return PollUntil(timeoutSeconds, [&] { return FindWindows(query).empty(); });
}

std::vector<ControlInfo> ListControls(HWND window) {
    std::vector<ControlInfo> controls;
    for (HWND child : ChildHandles(window)) {
        ControlInfo info;
        info.handle = child;
        info.id = static_cast<int>(::GetWindowLongPtrA(child, GWLP_ID) & 0xFFFF);
        info.className = ClassOf(child);
        info.text = GetText(child);
        info.visible = ::IsWindowVisible(child) != FALSE;
        info.enabled = ::IsWindowEnabled(child) != FALSE;
        controls.push_back(std::move(info));
    }
    return controls;
}

std::string GetText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return std::string();
    std::vector<char> buffer(length + 2);
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                               SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return std::string();
    return std::string(buffer.data(), std::min<std::size_t>(copied, buffer.size() - 1));
}

std::string WaitForText(HWND window, const std::string& expected, double timeoutSeconds) {
    std::string text;
    PollUntil(timeoutSeconds, [&] {
        text = GetText(window);
        return text == expected;
    });
    return text;
}

bool SetText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                                 kMessageTimeoutMs, &result) &&
           result != 0;
}

// --- Message boxes -------------------------------------------------------------

MessageBoxInfo ReadMessageBox(HWND dialog) {
    MessageBoxInfo box;
    box.handle = dialog;
    ::GetWindowThreadProcessId(dialog, &box.pid);
    box.caption = GetText(dialog);
    for (const ControlInfo& control : ListControls(dialog)) {
        if (control.id == kMessageBoxTextId && Lower(control.className) == "static")
            box.text = control.text;
        else if (Lower(control.className) == "button" && control.visible)
            box.buttons.push_back(StripAccelerator(control.text));
    }
    box.icon = IdentifyIcon(dialog);
    return box;
}

std::string IdentifyIcon(HWND dialog) {
    const HWND control = IconControl(dialog);
    if (!control) return "none";
    DWORD_PTR icon = 0;
    if (::SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &icon) && icon == 0)
        return "none";
    // The box may not have painted yet: look again for a moment.
    std::string name = "unknown";
    PollUntil(2.0, [&] {
        ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        name = MatchIcon(control);
        return name != "unknown";
    });
    return name;
}

// --- Controls ------------------------------------------------------------------

HWND FindControl(HWND window, const std::string& selector) {
    const std::vector<ControlInfo> controls = ListControls(window);
    if (selector.rfind("id:", 0) == 0) {
        const int id = static_cast<int>(std::strtol(selector.c_str() + 3, nullptr, 0));
        for (const ControlInfo& control : controls)
            if (control.id == id) return control.handle;
        return nullptr;
    }
    if (selector.rfind("class:", 0) == 0) {
        std::string name = selector.substr(6);
        int wanted = 1;
        const std::size_t hash = name.find('#');
        if (hash != std::string::npos) {
            wanted = std::atoi(name.c_str() + hash + 1);
            name.resize(hash);
        }
        int seen = 0;
        for (const ControlInfo& control : controls)
            if (Lower(control.className) == Lower(name) && ++seen == wanted) return control.handle;
        return nullptr;
    }
    const std::string label = Lower(StripAccelerator(selector.rfind("text:", 0) == 0 ? selector.substr(5) : selector));
    HWND hidden = nullptr;
    for (const ControlInfo& control : controls) {
        if (Lower(StripAccelerator(control.text)) != label) continue;
        if (control.visible) return control.handle;
        if (!hidden) hidden = control.handle;
    }
    if (hidden) return hidden;
    const int standard = StandardButtonId(label);
    for (const ControlInfo& control : controls)
        if (standard != 0 && control.id == standard && Lower(control.className) == "button") return control.handle;
    return nullptr;
}

bool PressButton(HWND button) {
    if (!button || !::IsWindowEnabled(button)) return false;
    return ::PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool RequestClose(HWND window) { return window && ::PostMessageA(window, WM_CLOSE, 0, 0) != FALSE; }

// --- Texts ---------------------------------------------------------------------

std::string StripAccelerator(const std::string& label) {
    std::string result;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] != '&') {
            result += label[i];
        } else if (i + 1 < label.size() && label[i + 1] == '&') {
            result += '&';
            ++i;
        }
    }
    return result;
}

std::string Unescape(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char next = text[++i];
        switch (next) {
        case 'r': result += '\r'; break;
        case 'n': result += '\n'; break;
        case 't': result += '\t'; break;
        case '\\': result += '\\'; break;
        default:
            result += '\\';
            result += next;
            break;
        }
    }
    return result;
}

std::string Escape(const std::string& text) {
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '\r': result += "\\r"; break;
        case '\n': result += "\\n"; break;
        case '\t': result += "\\t"; break;
        case '\\': result += "\\\\"; break;
        default: result += c; break;
        }
    }
    return result;
}

}  // namespace pelorin::driver
