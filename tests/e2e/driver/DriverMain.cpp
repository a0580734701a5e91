// pelorin-driver: a console program that finds the windows of other programs, reads
// their texts, answers their message boxes and presses their buttons, for tests.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "tests/e2e/driver/Driver.h"
#include "tests/e2e/driver/Screenshot.h"

namespace {

using namespace pelorin::driver;
using pelorin::KernelHandle;

// The driver's exit statuses.
constexpr int kOk = 0;
constexpr int kMismatch = 1;
constexpr int kNotFound = 2;
constexpr int kUsage = 3;

const char kUsageText[] =
    "usage: pelorin-driver COMMAND [OPTIONS]\n"
    "  list                          top-level windows (--pid, --class, --caption, --all)\n"
    "  wait [--control SEL --text T] wait for a window to appear (and its control to read T)\n"
    "  wait-gone                     wait until no window matches\n"
    "  dump                          a window and its controls\n"
    "  answer                        read a message box, check it, press a button\n"
    "      --expect-caption C --expect-text T --expect-icon I --expect-buttons A,B --press B\n"
    "  click --control SEL           press a button of a window\n"
    "  settext --control SEL --text T\n"
    "  gettext --control SEL\n"
    "  close                         ask a window to close\n"
    "  start [--cwd DIR] PROGRAM [ARG...]   start a program, print its process id\n"
    "  wait-exit --pid P [--expect-exit N]  wait for a process to end, print its exit code\n"
    "  screenshot --out FILE.bmp     the window's rectangle on the screen (the screen without\n"
    "                                window options)\n"
    "  key --vk N                    posts a key press (WM_KEYDOWN, WM_KEYUP) to a window\n"
    "  syscommand --command C        posts a system command: minimize, restore, maximize or N\n"
    "  foreground                    prints the active window of the desktop\n"
    "window options: --pid P --caption C --class C --timeout SECONDS (default 10) --all\n"
    "--desktop NAME (before the command's other options) works in the desktop NAME, e.g. one\n"
    "  made by \"explorer /desktop=NAME,1024x768\"; start then starts the program there\n"
    "SEL: id:N | class:NAME[#K] | text:LABEL | LABEL   texts take \\r \\n \\t \\\\ escapes\n";

struct Options {
    std::string command;
    std::map<std::string, std::string> values;
    std::vector<std::string> rest;  // program and arguments of "start"
    bool all = false;

    bool has(const std::string& name) const { return values.count(name) != 0; }
    std::string get(const std::string& name, const std::string& fallback = "") const {
        const auto it = values.find(name);
        return it == values.end() ? fallback : it->second;
    }
};

bool Parse(int argc, char** argv, Options& options) {
    if (argc < 2) return false;
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (options.command == "start" && (arg.rfind("--", 0) != 0 || !options.rest.empty())) {
            options.rest.push_back(arg);
            continue;
        }
        if (arg == "--all") {
            options.all = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0 || i + 1 >= argc) return false;
        options.values[arg.substr(2)] = argv[++i];
    }
    return true;
}

WindowQuery QueryOf(const Options& options, const std::string& defaultClass = "") {
    WindowQuery query;
    query.pid = static_cast<DWORD>(std::strtoul(options.get("pid", "0").c_str(), nullptr, 0));
    query.caption = Unescape(options.get("caption"));
    query.className = options.get("class", defaultClass);
    query.visibleOnly = !options.all;
    return query;
}

double TimeoutOf(const Options& options) { return std::atof(options.get("timeout", "10").c_str()); }

void PrintWindow(const WindowInfo& info) {
    std::printf("window 0x%llx pid=%lu class=\"%s\" caption=\"%s\"%s%s\n",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(info.handle)),
                static_cast<unsigned long>(info.pid), info.className.c_str(), Escape(info.caption).c_str(),
                info.visible ? "" : " hidden", info.enabled ? "" : " disabled");
}

HWND WaitOrReport(const Options& options, const std::string& defaultClass = "") {
    const HWND window = WaitForWindow(QueryOf(options, defaultClass), TimeoutOf(options));
    if (!window) std::fprintf(stderr, "pelorin-driver: no matching window\n");
    return window;
}

// The control named by --control in the window of the query; the window itself
// without --control. nullptr (reported) when either is missing.
HWND TargetOrReport(const Options& options) {
    const HWND window = WaitOrReport(options);
    if (!window || !options.has("control")) return window;
    const HWND control = FindControl(window, Unescape(options.get("control")));
    if (!control) std::fprintf(stderr, "pelorin-driver: no control \"%s\"\n", options.get("control").c_str());
    return control;
}

int List(const Options& options) {
    for (const WindowInfo& info : FindWindows(QueryOf(options))) PrintWindow(info);
    return kOk;
}

int Dump(const Options& options) {
    const HWND window = WaitOrReport(options);
    if (!window) return kNotFound;
    PrintWindow(DescribeWindow(window));
    for (const ControlInfo& control : ListControls(window))
        std::printf("  control id=%d class=\"%s\" text=\"%s\"%s%s\n", control.id, control.className.c_str(),
                    Escape(control.text).c_str(), control.visible ? "" : " hidden", control.enabled ? "" : " disabled");
    return kOk;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : ",") + part;
    return joined;
}

int Answer(const Options& options) {
    const HWND dialog = WaitOrReport(options, "#32770");
    if (!dialog) return kNotFound;
    const MessageBoxInfo box = ReadMessageBox(dialog);
    std::printf("caption: %s\ntext: %s\nicon: %s\nbuttons: %s\n", Escape(box.caption).c_str(), Escape(box.text).c_str(),
                box.icon.c_str(), Join(box.buttons).c_str());
    int status = kOk;
    const auto expect = [&](const char* name, const std::string& actual) {
        if (!options.has(name) || Unescape(options.get(name)) == actual) return;
        std::fprintf(stderr, "pelorin-driver: %s differs: wanted \"%s\"\n", name, options.get(name).c_str());
        status = kMismatch;
    };
    expect("expect-caption", box.caption);
    expect("expect-text", box.text);
    expect("expect-icon", box.icon);
    expect("expect-buttons", Join(box.buttons));
    // The button is pressed even after a mismatch, so that the program goes on.
    if (options.has("press")) {
        const HWND button = FindControl(dialog, options.get("press"));
        const std::string label = button ? StripAccelerator(GetText(button)) : std::string();
        if (!PressButton(button)) {
            std::fprintf(stderr, "pelorin-driver: cannot press \"%s\"\n", options.get("press").c_str());
            return kNotFound;
        }
        std::printf("pressed: %s\n", label.c_str());
    }
    std::fflush(stdout);
    return status;
}

int Click(const Options& options) {
    const HWND control = TargetOrReport(options);
    if (!control) return kNotFound;
    if (!PressButton(control)) {
        std::fprintf(stderr, "pelorin-driver: the control is disabled\n");
        return kMismatch;
    }
    return kOk;
}

int SetTextCommand(const Options& options) {
    const HWND control = TargetOrReport(options);
    if (!control) return kNotFound;
    return SetText(control, Unescape(options.get("text"))) ? kOk : kMismatch;
}

int GetTextCommand(const Options& options) {
    const HWND control = TargetOrReport(options);
    if (!control) return kNotFound;
    std::printf("%s\n", Escape(GetText(control)).c_str());
    return kOk;
}

int Close(const Options& options) {
    const HWND window = WaitOrReport(options);
    return window && RequestClose(window) ? kOk : kNotFound;
}

// With --control and --text, also waits (polling every 20 ms) until that control reads the text.
int Wait(const Options& options) {
    const HWND window = WaitOrReport(options);
    if (!window) return kNotFound;
    if (options.has("text")) {
        const HWND control = TargetOrReport(options);
        const std::string expected = Unescape(options.get("text"));
        if (!control || !PollUntil(
                            TimeoutOf(options), [&] { return GetText(control) == expected; }, 20)) {
            std::fprintf(stderr, "pelorin-driver: the control does not read \"%s\"\n", options.get("text").c_str());
            return kNotFound;
        }
    }
    PrintWindow(DescribeWindow(window));
    return kOk;
}

int WaitGone(const Options& options) { return WaitForNoWindow(QueryOf(options), TimeoutOf(options)) ? kOk : kNotFound; }

std::string Quote(const std::string& arg) {
    return arg.find_first_of(" \t\"") == std::string::npos ? arg : "\"" + arg + "\"";
}

int Start(const Options& options) {
    if (options.rest.empty()) return kUsage;
    std::string commandLine;
    for (const std::string& arg : options.rest) commandLine += (commandLine.empty() ? "" : " ") + Quote(arg);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::string cwd = options.get("cwd");
    std::string desktop = options.get("desktop");
    if (!desktop.empty()) startup.lpDesktop = &desktop[0];
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          cwd.empty() ? nullptr : cwd.c_str(), &startup, &process)) {
        std::fprintf(stderr, "pelorin-driver: cannot start (error %lu)\n", ::GetLastError());
        return kNotFound;
    }
    const KernelHandle thread(process.hThread);
    const KernelHandle owned(process.hProcess);
    std::printf("%lu\n", static_cast<unsigned long>(process.dwProcessId));
    return kOk;
}

int WaitExit(const Options& options) {
    const DWORD pid = static_cast<DWORD>(std::strtoul(options.get("pid", "0").c_str(), nullptr, 0));
    const KernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
    if (!process) return kNotFound;
    const DWORD waited = ::WaitForSingleObject(process.get(), static_cast<DWORD>(TimeoutOf(options) * 1000));
    DWORD code = 0;
    const bool ended = waited == WAIT_OBJECT_0 && ::GetExitCodeProcess(process.get(), &code);
    if (!ended) return kNotFound;
    std::printf("exit-code: %lu\n", static_cast<unsigned long>(code));
    if (options.has("expect-exit") && std::strtoul(options.get("expect-exit").c_str(), nullptr, 0) != code)
        return kMismatch;
    return kOk;
}

bool HasWindowOptions(const Options& options) {
    return options.has("pid") || options.has("caption") || options.has("class");
}

int ScreenshotCommand(const Options& options) {
    if (!options.has("out")) return kUsage;
    Screenshot shot;
    if (HasWindowOptions(options)) {
        const HWND window = WaitOrReport(options);
        if (!window) return kNotFound;
        shot = CaptureWindow(window);
    } else {
        shot = CaptureScreen();
    }
    if (!SaveBitmapFile(shot, options.get("out"))) {
        std::fprintf(stderr, "pelorin-driver: cannot write %s\n", options.get("out").c_str());
        return kMismatch;
    }
    std::printf("screenshot %dx%d %s\n", shot.width, shot.height, options.get("out").c_str());
    return kOk;
}

int Key(const Options& options) {
    const HWND window = TargetOrReport(options);
    if (!window) return kNotFound;
    const WPARAM key = static_cast<WPARAM>(std::strtoul(options.get("vk", "65").c_str(), nullptr, 0));
    ::PostMessageA(window, WM_KEYDOWN, key, 1);
    ::PostMessageA(window, WM_KEYUP, key, 0xC0000001);
    return kOk;
}

int SysCommand(const Options& options) {
    const HWND window = WaitOrReport(options);
    if (!window) return kNotFound;
    static const std::map<std::string, WPARAM> kNames = {
        {"minimize", SC_MINIMIZE}, {"restore", SC_RESTORE}, {"maximize", SC_MAXIMIZE}, {"close", SC_CLOSE}};
    const std::string name = options.get("command");
    const auto known = kNames.find(name);
    const WPARAM command =
        known != kNames.end() ? known->second : static_cast<WPARAM>(std::strtoul(name.c_str(), nullptr, 0));
    if (command == 0) return kUsage;
    return ::PostMessageA(window, WM_SYSCOMMAND, command, 0) ? kOk : kNotFound;
}

int Foreground(const Options&) {
    const HWND window = ::GetForegroundWindow();
    if (!window) return kNotFound;
    PrintWindow(DescribeWindow(window));
    return kOk;
}

// Moves this thread into the named desktop, so that windows are found, started and
// photographed there. Only possible before the thread owns any window.
bool EnterDesktop(const std::string& name) {
    const HDESK desktop = ::OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL);
    return desktop && ::SetThreadDesktop(desktop);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    static const std::map<std::string, int (*)(const Options&)> kCommands = {{"list", List},
                                                                             {"wait", Wait},
                                                                             {"wait-gone", WaitGone},
                                                                             {"dump", Dump},
                                                                             {"answer", Answer},
                                                                             {"click", Click},
                                                                             {"settext", SetTextCommand},
                                                                             {"gettext", GetTextCommand},
                                                                             {"close", Close},
                                                                             {"start", Start},
                                                                             {"wait-exit", WaitExit},
                                                                             {"screenshot", ScreenshotCommand},
                                                                             {"key", Key},
                                                                             {"syscommand", SysCommand},
                                                                             {"foreground", Foreground}};
    const auto command = kCommands.find(options.command);
    if (command == kCommands.end()) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    if (options.has("desktop") && !EnterDesktop(options.get("desktop"))) {
        std::fprintf(stderr, "pelorin-driver: no desktop \"%s\" (error %lu)\n", options.get("desktop").c_str(),
                     ::GetLastError());
        return kNotFound;
    }
    const int status = command->second(options);
    std::fflush(stdout);
    return status;
}
