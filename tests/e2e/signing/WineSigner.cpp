// The Wine signer: host commands built as Windows command lines for pelorin-unix-run, the
// certificate and key kept in the signer's own scratch folder.
#include "tests/e2e/signing/WineSigner.h"

namespace pelorin::e2e {

namespace {

std::string UnixRun() { return Quote(ProgramPath("pelorin-unix-run.exe")); }

}  // namespace

DWORD RunOnHost(const std::string& arguments) {
    const ToolResult result = RunTool(UnixRun() + " " + arguments, 120);
    return result.timedOut ? ~0u : result.exitCode;
}

bool WineSigner::Available() { return RunOnHost("sh -c \"command -v openssl && command -v osslsigncode\"") == 0; }

WineSigner::WineSigner() {
    ready_ = RunOnHost("openssl req -x509 -newkey rsa:2048 -nodes -keyout " + Quote(dir_ / "key.pem") + " -out " +
                       Quote(dir_ / "cert.pem") + " -days 30 -subj /CN=Pelorin-Test") == 0;
}

std::string WineSigner::Command() const {
    return UnixRun() + " osslsigncode sign -certs " + Quote(dir_ / "cert.pem") + " -key " + Quote(dir_ / "key.pem") +
           " -n Pelorin -time 1700000000 -in %1 -out %2";
}

bool WineSigner::Verify(const std::string& path) const {
    return RunOnHost("osslsigncode verify -in " + Quote(path) + " -CAfile " + Quote(dir_ / "cert.pem")) == 0;
}

}  // namespace pelorin::e2e
