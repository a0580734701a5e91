// TestKillPoint: compares the named point with PELORIN_TEST_KILL and ends the process
// without any clean-up of its own, the way TerminateProcess from outside does.
#include "setup/install/TestKillPoint.h"

#include <windows.h>

#include <string>

namespace pelorin {
namespace {

// The exit code of a process ended here, so that a test tells it from any other end.
constexpr UINT kKilledExitCode = 0xDEAD;

std::string WantedPoint() {
    char wanted[64] = {};
    const DWORD length = ::GetEnvironmentVariableA("PELORIN_TEST_KILL", wanted, sizeof wanted);
    return length == 0 || length >= sizeof wanted ? std::string() : std::string(wanted, length);
}

}  // namespace

void TestKillPoint(const char* point, unsigned number) {
    // Read once: the points lie on the installation's path of every file.
    static const std::string wanted = WantedPoint();
    if (wanted.empty()) return;
    std::string here = point;
    if (number != 0) here += ":" + std::to_string(number);
    if (here == wanted) ::TerminateProcess(::GetCurrentProcess(), kKilledExitCode);
}

}  // namespace pelorin
