// The meaning of each exit code in words, as the run log ends with it.
// Codes the programs never return read "unknown".
#include "setup/ExitCodes.h"

namespace pelorin {

const char* ExitCodeMeaning(int code) {
    switch (code) {
    case kExitSuccess: return "success";
    case kExitRestartRequired: return "success, a restart is required";
    case kExitCancelled: return "cancelled, rolled back";
    case kExitFailed: return "failed, rolled back";
    case kExitPlatformRefused: return "this version of Windows is not supported";
    case kExitInvalidArguments: return "invalid command line";
    default: return "unknown";
    }
}

}  // namespace pelorin
