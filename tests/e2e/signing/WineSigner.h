// Signing in the end-to-end tests: the Windows tools under Wine run the host's osslsigncode
// through pelorin-unix-run, with a throwaway certificate made by the host's openssl.
#pragma once

#include <string>

#include "tests/e2e/driver/ProcessHarness.h"

namespace pelorin::e2e {

// Runs a host program through pelorin-unix-run (drive-letter paths become host paths);
// its exit code, 0 on success.
DWORD RunOnHost(const std::string& arguments);

class WineSigner {
public:
    // pelorin-unix-run works and the host has openssl and osslsigncode.
    static bool Available();

    // Makes the key and the self-signed certificate; Ready() tells whether that worked.
    WineSigner();
    bool Ready() const { return ready_; }

    // The signing command for the tools' --sign, with a fixed signing time.
    std::string Command() const;
    // osslsigncode verify with the certificate as the trusted root.
    bool Verify(const std::string& path) const;

private:
    ScratchDir dir_{"pelorin-signer"};
    bool ready_ = false;
};

}  // namespace pelorin::e2e
