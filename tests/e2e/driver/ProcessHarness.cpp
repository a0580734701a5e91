// The test harness behind ProcessHarness.h: build-tree paths, scratch folders,
// program starts with clean-up, and console tools with captured output.
#include "tests/e2e/driver/ProcessHarness.h"

#include <cstdlib>
#include <stdexcept>

namespace pelorin::e2e {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string OwnPath() {
    char buffer[MAX_PATH * 4] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, n);
}

}  // namespace

std::string WindowsPathFromEnv(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) return std::string();
    std::string path = value;
    if (path[0] != '/') return path;  // already a Windows path
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

std::string BinaryDir() {
    const std::string fromEnv = WindowsPathFromEnv("PELORIN_BINARY_DIR");
    return fromEnv.empty() ? FolderOf(FolderOf(OwnPath())) : fromEnv;
}

std::string SourceDir() { return WindowsPathFromEnv("PELORIN_SOURCE_DIR"); }

std::string ProgramPath(const std::string& name) { return BinaryDir() + "\\bin\\" + name; }

// --- Files ---------------------------------------------------------------------

void CopyFileOrFail(const std::string& from, const std::string& to) {
    if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from + " to " + to);
}

// --- Programs ------------------------------------------------------------------

RunningProgram::RunningProgram(const std::string& commandLine, const std::string& workDir) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &startup, &info))
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(::GetLastError()) + ")");
    const KernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    pid_ = info.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (running()) {
        ::TerminateProcess(process_.get(), 255);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> RunningProgram::waitForExit(double timeoutSeconds) {
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeoutSeconds * 1000)) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool RunningProgram::running() const { return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<driver::MessageBoxInfo> AnswerNextBox(DWORD pid, const std::string& button, double timeoutSeconds) {
    driver::WindowQuery query;
    query.pid = pid;
    query.className = "#32770";
    const HWND dialog = driver::WaitForWindow(query, timeoutSeconds);
    if (!dialog) return std::nullopt;
    driver::MessageBoxInfo box = driver::ReadMessageBox(dialog);
    driver::PressButton(driver::FindControl(dialog, button));
    // The same box must not be read twice while it closes.
    for (int i = 0; i < 100 && ::IsWindow(dialog) && ::IsWindowVisible(dialog); ++i) ::Sleep(50);
    return box;
}

std::vector<driver::MessageBoxInfo> AnswerBoxesUntilExit(RunningProgram& program, const std::string& button,
                                                         double timeoutSeconds) {
    std::vector<driver::MessageBoxInfo> boxes;
    const DWORD start = ::GetTickCount();
    const DWORD limit = static_cast<DWORD>(timeoutSeconds * 1000);
    while (program.running() && ::GetTickCount() - start < limit)
        if (std::optional<driver::MessageBoxInfo> box = AnswerNextBox(program.pid(), button, 0.2))
            boxes.push_back(std::move(*box));
    return boxes;
}

EnvOverride::EnvOverride(std::string name, const char* value) : name_(std::move(name)) {
    const DWORD size = ::GetEnvironmentVariableA(name_.c_str(), nullptr, 0);
    if (size > 0) {
        std::string old(size, '\0');
        old.resize(::GetEnvironmentVariableA(name_.c_str(), &old[0], size));
        old_ = old;
    }
    ::SetEnvironmentVariableA(name_.c_str(), value);
}

EnvOverride::~EnvOverride() { ::SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr); }

WineVersionOverride::WineVersionOverride(std::string exeName, const std::string& version)
    : key_("Software\\Wine\\AppDefaults\\" + exeName) {
    KeyHandle key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS ||
        ::RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                         static_cast<DWORD>(version.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error("cannot set the Wine version of " + exeName);
}

WineVersionOverride::~WineVersionOverride() {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), "Version");
    key.reset();
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());  // only when nothing else is left in it
}

ToolResult RunTool(const std::string& commandLine, double timeoutSeconds) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    KernelHandle readEnd;
    KernelHandle writeEnd;
    if (!::CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) throw std::runtime_error("cannot create a pipe");
    ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                          &info))
        throw std::runtime_error("cannot start " + commandLine + " (error " + std::to_string(::GetLastError()) + ")");
    const KernelHandle thread(info.hThread);
    const KernelHandle process(info.hProcess);
    writeEnd.reset();  // the child holds the only write end now

    ToolResult result;
    const DWORD start = ::GetTickCount();
    const DWORD limit = static_cast<DWORD>(timeoutSeconds * 1000);
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd.get(), nullptr, 0, nullptr, &available, nullptr)) break;  // closed
        if (available > 0) {
            std::string chunk(available, '\0');
            DWORD read = 0;
            if (!::ReadFile(readEnd.get(), &chunk[0], available, &read, nullptr)) break;
            result.output.append(chunk, 0, read);
            continue;
        }
        if (::GetTickCount() - start >= limit) {
            result.timedOut = true;
            ::TerminateProcess(process.get(), 255);
            break;
        }
        ::Sleep(20);
    }
    ::WaitForSingleObject(process.get(), 5000);
    ::GetExitCodeProcess(process.get(), &result.exitCode);
    return result;
}

std::string Quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace pelorin::e2e
