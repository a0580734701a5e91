// TDDE: client-only DDEML instance, string handles, conversations and the two
// synchronous transactions (execute and request) with their error messages.
#include "setup/install/DDEInt.h"

#include <vector>

#include "core/TextFormat.h"

namespace pelorin {

namespace {

// A client-only instance is told of nothing it has to answer.
HDDEDATA CALLBACK IgnoreDdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// Format(message, code) for the messages that carry a DDEML error code.
std::string WithCode(const char* format, UINT code) { return FormatText(format, static_cast<int>(code)); }

}  // namespace

std::string TextOf(const TDDEData& data) {
    if (!data.Data) return std::string();
    const char* const begin = reinterpret_cast<const char*>(data.Data);
    std::string text(begin, begin + data.Size);
    const std::string::size_type end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
}

TDDE::TDDE() {
    const UINT code = ::DdeInitializeA(&FInstance, IgnoreDdeCallback, APPCMD_CLIENTONLY, 0);
    if (code != DMLERR_NO_ERROR) {
        FInstance = 0;
        throw EDDEError(WithCode("DDE: Unable to initialize DDE (code: %d)", code));
    }
}

TDDE::~TDDE() {
    if (FInstance != 0) ::DdeUninitialize(FInstance);
    FInstance = 0;
}

HSZ TDDE::CreateStringHandle(const std::string& text) const {
    // Code page 0 is the system's default ANSI code page.
    const HSZ handle = ::DdeCreateStringHandleA(FInstance, text.c_str(), 0);
    if (!handle) throw EDDEError("DDE: Unable to create string handle");
    return handle;
}

void TDDE::FreeStringHandle(HSZ& handle) const noexcept {
    if (handle) ::DdeFreeStringHandle(FInstance, handle);
    handle = nullptr;
}

HCONV TDDE::Connect(HSZ service, HSZ topic) const {
    const HCONV conversation = ::DdeConnect(FInstance, service, topic, nullptr);
    if (!conversation)
        throw EDDEError(WithCode("DDE: Unable to establish DDE connection (code: %d)", ::DdeGetLastError(FInstance)));
    return conversation;
}

void TDDE::Disconnect(HCONV& conversation) const noexcept {
    if (conversation) ::DdeDisconnect(conversation);
    conversation = nullptr;
}

bool TDDE::Execute(HCONV conversation, const std::string& command, bool tolerateNotProcessed) const {
    // The server receives the command with its terminating zero.
    std::vector<BYTE> bytes(command.begin(), command.end());
    bytes.push_back(0);
    // The answer is judged by the instance's last error alone, so one left over
    // from an earlier call must not be taken for this command's.
    ::DdeGetLastError(FInstance);
    ::DdeClientTransaction(bytes.data(), static_cast<DWORD>(bytes.size()), conversation, nullptr, 0, XTYP_EXECUTE,
                           TransactionTimeout, nullptr);
    const UINT code = ::DdeGetLastError(FInstance);
    if (code == DMLERR_NO_ERROR) return true;
    if (code != DMLERR_NOTPROCESSED)
        throw EDDEError(WithCode("DDE: Error during execute transaction (code: %d)", code));
    if (!tolerateNotProcessed) throw EDDEError("DDE: Command was not successful");
    return false;
}

TDDEData TDDE::Request(HCONV conversation, HSZ item, UINT format) const {
    const HDDEDATA handle =
        ::DdeClientTransaction(nullptr, 0, conversation, item, format, XTYP_REQUEST, TransactionTimeout, nullptr);
    if (!handle)
        throw EDDEError(WithCode("DDE: Error during request transaction (code: %d)", ::DdeGetLastError(FInstance)));
    DWORD size = 0;
    const BYTE* const data = ::DdeAccessData(handle, &size);
    if (!data) {
        const UINT code = ::DdeGetLastError(FInstance);
        ::DdeFreeDataHandle(handle);
        throw EDDEError(WithCode("DDE: Error accessing data (code: %d)", code));
    }
    return TDDEData{data, size, handle};
}

void TDDE::UnaccessData(HDDEDATA dataHandle) const noexcept {
    if (!dataHandle) return;
    ::DdeUnaccessData(dataHandle);
    // The client owns the data a request returns; nothing reads it after this.
    ::DdeFreeDataHandle(dataHandle);
}

}  // namespace pelorin
