// WriteFailureSuffix: errno as the runtime leaves it after a failed write, close or flush.
// Both runtimes we use (glibc and the Windows one) set ENOSPC for a full disk.
#include "core/WriteFailure.h"

#include <cerrno>
#include <cstring>

namespace pelorin {

void ClearWriteFailure() { errno = 0; }

std::string WriteFailureSuffix() {
    const int error = errno;
    if (error == 0) return std::string();
    return std::string(": ") + std::strerror(error);
}

}  // namespace pelorin
