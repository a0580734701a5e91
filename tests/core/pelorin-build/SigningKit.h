// Signing in the tools' tests: a throwaway certificate made with openssl, the osslsigncode
// command line that signs with it, and the verification of a signed file.
#pragma once

#include <string>

#include "tests/support/ScratchDir.h"

namespace pelorin::testing {

// Stand-ins for a signer, in the shell of the system the test runs on (sh or cmd).
extern const char* const kCopyingSigner;    // copies %1 to %2
extern const char* const kFailingSigner;    // ends with exit status 3
extern const char* const kSilentSigner;     // succeeds without writing %2
extern const char* const kEmptySigner;      // writes an empty %2
extern const char* const kAppendingSigner;  // appends "signed" and a line end to %1 in place
extern const char* const kRemovingSigner;   // removes %1
extern const char* const kTrailingSigner;   // copies %1 to %2 and adds a line behind it

class TestSigner {
public:
    // openssl and osslsigncode can be run (never in the Windows trees: there the e2e tests sign).
    static bool Available();
    // Why signing program (a MinGW-built program, nullptr when there is none) cannot be tested
    // here; empty when it can.
    static std::string Unavailable(const char* program);

    // Makes the key and the self-signed certificate; Ready() tells whether that worked.
    TestSigner();
    bool Ready() const { return ready_; }

    // "osslsigncode sign ... -in %1 -out %2" with this certificate and a fixed signing time,
    // so that two signings of the same bytes give the same file.
    std::string Command() const;
    // The same signing, run at once on in and written to out.
    bool Sign(const std::string& in, const std::string& out) const;
    // osslsigncode verify with the certificate as the trusted root.
    bool Verify(const std::string& path) const;

private:
    ScratchDir dir_{"pelorin-signer"};
    bool ready_ = false;
};

// Sets the temporary folder of the process (TMPDIR, TMP and TEMP) for the scope.
class TempFolderOverride {
public:
    explicit TempFolderOverride(const std::string& folder);
    ~TempFolderOverride();
    TempFolderOverride(const TempFolderOverride&) = delete;
    TempFolderOverride& operator=(const TempFolderOverride&) = delete;

private:
    std::string old_[3];
    bool had_[3] = {};
};

}  // namespace pelorin::testing
