// Starts and ends the programs a DDE test talks to, and waits for their service.
// Only processes started here are ended here, by their own handles.
#include "tests/win/dde/ChildProcess.h"

#include <vector>

#include "core/Exception.h"
#include "setup/install/DdeHandles.h"

namespace pelorin::testing {

ChildProcess::ChildProcess(const std::string& commandLine) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw Exception("cannot start " + commandLine);
    process_.reset(info.hProcess);
    thread_.reset(info.hThread);
    threadId_ = info.dwThreadId;
}

bool ChildProcess::Running() const noexcept {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void ChildProcess::End() noexcept {
    if (!process_) return;
    if (Running()) {
        ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        if (::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process_.get(), 1);
            ::WaitForSingleObject(process_.get(), 5000);
        }
    }
    thread_.reset();
    process_.reset();
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool WaitForService(const std::string& service, const std::string& topic, DWORD timeoutMs) {
    const TDDE dde;
    const DdeStringHandle serviceName(dde, dde.CreateStringHandle(service));
    const DdeStringHandle topicName(dde, dde.CreateStringHandle(topic));
    const DWORD start = ::GetTickCount();
    for (;;) {
        try {
            const DdeConversation conversation(dde, dde.Connect(serviceName.get(), topicName.get()));
            return true;
        } catch (const EDDEError&) {}
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::Sleep(200);
    }
}

}  // namespace pelorin::testing
