// The test signer: openssl and osslsigncode run through the shell with their output kept in
// the signer's folder, so that a failing signature shows what the tool said.
#include "tests/core/pelorin-build/SigningKit.h"

#include <cstdlib>

#include "tests/support/TestFiles.h"
#include "tools/signing/SignCommand.h"

namespace pelorin::testing {

#ifdef _WIN32
const char* const kCopyingSigner = "copy /b %1 %2 >nul";
const char* const kFailingSigner = "if exist %1 exit 3";
const char* const kSilentSigner = "if exist %1 echo %2 >nul";
const char* const kEmptySigner = "if exist %1 type nul > %2";
const char* const kAppendingSigner = "echo signed>> %1";
const char* const kRemovingSigner = "del %1";
const char* const kTrailingSigner = "copy /b %1 %2 >nul && echo pad>> %2";
#else
const char* const kCopyingSigner = "cp %1 %2";
const char* const kFailingSigner = "test -f %1 && exit 3";
const char* const kSilentSigner = "test -f %1 || echo %2";
const char* const kEmptySigner = "test -f %1 && : > %2";
const char* const kAppendingSigner = "echo signed >> %1";
const char* const kRemovingSigner = "rm %1";
const char* const kTrailingSigner = "cp %1 %2 && echo pad >> %2";
#endif

namespace {

constexpr const char* kVariables[3] = {"TMPDIR", "TMP", "TEMP"};

int Shell(const std::string& command) { return std::system(command.c_str()); }

void SetVariable(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

}  // namespace

bool TestSigner::Available() {
#ifdef _WIN32
    return false;
#else
    return Shell("command -v openssl >/dev/null 2>&1 && command -v osslsigncode >/dev/null 2>&1") == 0;
#endif
}

std::string TestSigner::Unavailable(const char* program) {
    if (!Available()) return "openssl or osslsigncode cannot be run here";
    if (!program) return "no MinGW-built program to sign";
    return std::string();
}

TestSigner::TestSigner() {
    ready_ =
        Available() && Shell("openssl req -x509 -newkey rsa:2048 -nodes -keyout " + QuoteForShell(dir_ / "key.pem") +
                             " -out " + QuoteForShell(dir_ / "cert.pem") + " -days 30 -subj /CN=Pelorin-Test >" +
                             QuoteForShell(dir_ / "openssl.log") + " 2>&1") == 0;
}

std::string TestSigner::Command() const {
    return "osslsigncode sign -certs " + QuoteForShell(dir_ / "cert.pem") + " -key " + QuoteForShell(dir_ / "key.pem") +
           " -n 'Pelorin test' -time 1700000000 -in %1 -out %2 >/dev/null";
}

bool TestSigner::Sign(const std::string& in, const std::string& out) const {
    return Shell(SignCommand(Command()).CommandLine(in, out)) == 0;
}

bool TestSigner::Verify(const std::string& path) const {
    return Shell("osslsigncode verify -in " + QuoteForShell(path) + " -CAfile " + QuoteForShell(dir_ / "cert.pem") +
                 " >" + QuoteForShell(dir_ / "verify.log") + " 2>&1") == 0;
}

TempFolderOverride::TempFolderOverride(const std::string& folder) {
    for (int i = 0; i < 3; ++i) {
        const char* old = std::getenv(kVariables[i]);
        had_[i] = old != nullptr;
        if (old) old_[i] = old;
        SetVariable(kVariables[i], folder.c_str());
    }
}

TempFolderOverride::~TempFolderOverride() {
    for (int i = 0; i < 3; ++i) SetVariable(kVariables[i], had_[i] ? old_[i].c_str() : nullptr);
}

}  // namespace pelorin::testing
