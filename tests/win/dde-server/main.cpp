// pelorin-ddeserver: a scripted DDE server for tests of the program-manager client.
// It gives the answers a real program manager cannot be made to give on demand.
//
// Usage:
//   pelorin-ddeserver [--service NAME] [--topic NAME] [--log FILE] [--lifetime SECONDS] RULE...
// Rules, the first that fits wins:
//   --execute PREFIX ack|notprocessed [DELAY_MS]
//       a command starting with PREFIX is acknowledged or answered "not processed",
//       after DELAY_MS milliseconds (past the client's timeout when large).
//   --request ITEM TEXT [DELAY_MS]
//       a request of ITEM in CF_TEXT is answered with TEXT and its terminating zero;
//       "\r" and "\n" in TEXT stand for CR and LF; the TEXT -none- answers no data.
// Without a fitting rule a command is acknowledged and a request gets no data.
// Service and topic default to PROGMAN. The server ends after --lifetime seconds
// (default 120), or earlier when WM_QUIT is posted to its main thread.
// The log file gets one line per transaction, appended and closed at once:
//   READY                          once the service is registered
//   EXECUTE <bytes> <command>      bytes as received, including the terminating zero
//   REQUEST <item> <format>
//   DISCONNECT                     when a client ends its conversation
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/win/dde-server/ServerScript.h"

namespace pelorin::ddeserver {
namespace {

HDDEDATA AsData(UINT_PTR value) { return reinterpret_cast<HDDEDATA>(value); }

UINT_PTR AnswerOf(ExecuteResult result) {
    switch (result) {
    case ExecuteResult::NotProcessed: return DDE_FNOTPROCESSED;
    case ExecuteResult::Ack: break;
    }
    return DDE_FACK;
}

class Server {
public:
    explicit Server(Script script) : script_(std::move(script)) {}

    int Run();
    HDDEDATA Answer(UINT type, UINT format, HSZ topic, HSZ item, HDDEDATA data) const;

private:
    std::string NameOf(HSZ handle) const;
    void Log(const std::string& line) const;
    HDDEDATA Execute(HDDEDATA data) const;
    HDDEDATA Request(UINT format, HSZ item) const;

    const Script script_;
    DWORD instance_ = 0;
    HSZ service_ = nullptr;
    HSZ topic_ = nullptr;
};

// DDEML callbacks carry no context of their own: the one server of this process.
Server* Running = nullptr;

HDDEDATA CALLBACK ServerCallback(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA data, ULONG_PTR,
                                 ULONG_PTR) {
    return Running ? Running->Answer(type, format, topic, item, data) : nullptr;
}

int Server::Run() {
    const UINT flags =
        APPCLASS_STANDARD | CBF_FAIL_ADVISES | CBF_FAIL_POKES | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS;
    if (::DdeInitializeA(&instance_, ServerCallback, flags, 0) != DMLERR_NO_ERROR) {
        std::fprintf(stderr, "pelorin-ddeserver: DdeInitialize failed\n");
        return 1;
    }
    service_ = ::DdeCreateStringHandleA(instance_, script_.Service.c_str(), CP_WINANSI);
    topic_ = ::DdeCreateStringHandleA(instance_, script_.Topic.c_str(), CP_WINANSI);
    int status = 0;
    if (!service_ || !topic_ || !::DdeNameService(instance_, service_, nullptr, DNS_REGISTER)) {
        std::fprintf(stderr, "pelorin-ddeserver: cannot register service %s\n", script_.Service.c_str());
        status = 1;
    } else {
        Log("READY");
        const UINT_PTR timer = ::SetTimer(nullptr, 0, script_.LifetimeSeconds * 1000u, nullptr);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer) break;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::KillTimer(nullptr, timer);
        ::DdeNameService(instance_, service_, nullptr, DNS_UNREGISTER);
    }
    if (service_) ::DdeFreeStringHandle(instance_, service_);
    if (topic_) ::DdeFreeStringHandle(instance_, topic_);
    ::DdeUninitialize(instance_);
    return status;
}

HDDEDATA Server::Answer(UINT type, UINT format, HSZ topic, HSZ item, HDDEDATA data) const {
    switch (type) {
    case XTYP_CONNECT:  // item carries the service asked for
        return AsData(::DdeCmpStringHandles(topic, topic_) == 0 && ::DdeCmpStringHandles(item, service_) == 0);
    case XTYP_EXECUTE: return Execute(data);
    case XTYP_REQUEST: return Request(format, item);
    case XTYP_DISCONNECT: Log("DISCONNECT"); return nullptr;
    default: return nullptr;
    }
}

HDDEDATA Server::Execute(HDDEDATA data) const {
    const DWORD size = ::DdeGetData(data, nullptr, 0, 0);
    std::vector<BYTE> bytes(size);
    if (size) ::DdeGetData(data, bytes.data(), size, 0);
    const std::string command(bytes.begin(), bytes.end());
    const std::string text = command.substr(0, command.find('\0'));
    Log("EXECUTE " + std::to_string(size) + " " + text);
    const ExecuteRule rule = FindExecuteRule(script_, text);
    if (rule.DelayMs) ::Sleep(rule.DelayMs);
    return AsData(AnswerOf(rule.Result));
}

HDDEDATA Server::Request(UINT format, HSZ item) const {
    const std::string name = NameOf(item);
    Log("REQUEST " + name + " " + std::to_string(format));
    const RequestRule rule = FindRequestRule(script_, name);
    if (rule.DelayMs) ::Sleep(rule.DelayMs);
    if (!rule.Answers || format != CF_TEXT) return nullptr;
    std::vector<BYTE> bytes(rule.Text.begin(), rule.Text.end());
    bytes.push_back(0);
    return ::DdeCreateDataHandle(instance_, bytes.data(), static_cast<DWORD>(bytes.size()), 0, item, CF_TEXT, 0);
}

std::string Server::NameOf(HSZ handle) const {
    char name[256] = {};
    ::DdeQueryStringA(instance_, handle, name, sizeof name, CP_WINANSI);
    return name;
}

void Server::Log(const std::string& line) const {
    if (script_.LogFile.empty()) return;
    std::ofstream log(script_.LogFile, std::ios::app | std::ios::binary);
    log << line << "\r\n";
}

}  // namespace
}  // namespace pelorin::ddeserver

int main(int argc, char** argv) {
    using namespace pelorin::ddeserver;
    try {
        Server server(ParseScript(std::vector<std::string>(argv + 1, argv + argc)));
        Running = &server;
        const int status = server.Run();
        Running = nullptr;
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pelorin-ddeserver: %s\n", e.what());
        return 2;
    }
}
