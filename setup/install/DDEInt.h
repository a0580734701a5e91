// TDDE: a thin client of the DDE management library for talking to the program manager.
// Handles it returns belong to the caller; DdeHandles.h has owners that give them back.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <string>

#include "core/Exception.h"

namespace pelorin {

// Every failure of a DDE operation; the message is the one shown to the user.
class EDDEError : public Exception {
public:
    using Exception::Exception;
};

// What a request hands out: the accessed bytes and the data handle they live in.
struct TDDEData {
    const BYTE* Data = nullptr;
    DWORD Size = 0;
    HDDEDATA Handle = nullptr;
};

// The data read as text: up to its first zero byte, never past its end.
std::string TextOf(const TDDEData& data);

class TDDE {
public:
    // Both kinds of transaction wait this long for the server's answer.
    static constexpr DWORD TransactionTimeout = 7500;

    TDDE();  // opens a client-only instance; raises EDDEError when it cannot
    ~TDDE();
    TDDE(const TDDE&) = delete;
    TDDE& operator=(const TDDE&) = delete;

    DWORD Instance() const noexcept { return FInstance; }

    HSZ CreateStringHandle(const std::string& text) const;
    void FreeStringHandle(HSZ& handle) const noexcept;

    HCONV Connect(HSZ service, HSZ topic) const;
    void Disconnect(HCONV& conversation) const noexcept;

    // True when the server processed the command. A command the server did not
    // process answers false when tolerated and raises otherwise.
    bool Execute(HCONV conversation, const std::string& command, bool tolerateNotProcessed) const;

    // The item's data in the given clipboard format. The caller gives the data
    // back with UnaccessData once it has read it.
    TDDEData Request(HCONV conversation, HSZ item, UINT format) const;
    void UnaccessData(HDDEDATA dataHandle) const noexcept;

private:
    DWORD FInstance = 0;
};

}  // namespace pelorin
