// StartRunEntries: CreateProcess on each command line, the system's text for a failure, and
// the wait on the process handle that wakes for every input message.
#include "setup/RunPrograms.h"

#include <windows.h>

#include "platform/win/Handles.h"
#include "setup/RunCommand.h"
#include "ui/Application.h"

namespace pelorin {

namespace {

// The wake mask of the wait: every kind of input message (keys, mouse, paint, timers, posted
// and sent messages, hot keys).
constexpr DWORD kWakeMask = 0xFF;

std::string SystemMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    const LocalHandle owned(buffer);
    return length ? TrimSystemMessage(std::string(buffer, length)) : std::string();
}

void WaitWithMessages(HANDLE process) {
    ProcessMessages();
    while (::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, kWakeMask) == WAIT_OBJECT_0 + 1) ProcessMessages();
}

}  // namespace

void StartRunEntries(const std::vector<RunEntry>& entries, const DirConstants& dirs, const TRunErrorBox& errorBox) {
    for (const RunEntry& entry : entries) {
        std::string commandLine = RunEntryCommandLine(entry, dirs);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION created{};
        std::string buffer = commandLine;  // the platform may write into the command line
        if (!::CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &created)) {
            const DWORD code = ::GetLastError();
            errorBox(UnableToExecuteText(commandLine, code, SystemMessage(code)));
            continue;
        }
        const KernelHandle thread(created.hThread);
        const KernelHandle process(created.hProcess);
        if (!(entry.Flags & RunEntry::NoWait)) WaitWithMessages(process.get());
    }
}

}  // namespace pelorin
