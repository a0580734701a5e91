// The exit codes of the setup program and the uninstaller, the ones deployment tools read:
// success, restart required, cancelled, failed, refused platform and invalid command line.
#pragma once

namespace pelorin {

constexpr int kExitSuccess = 0;
constexpr int kExitRestartRequired = 3010;  // success, but a restart is needed and was not done
constexpr int kExitCancelled = 1602;        // the user cancelled; everything was rolled back
constexpr int kExitFailed = 1603;           // failed; everything was rolled back
constexpr int kExitPlatformRefused = 1633;  // the package refuses this version of Windows
constexpr int kExitInvalidArguments = 87;   // an unknown switch, or a refused /DIR or /GROUP

// "success", "restart required", ... for the log's last line.
const char* ExitCodeMeaning(int code);

}  // namespace pelorin
