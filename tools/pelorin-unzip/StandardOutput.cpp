// Standard output as a stream: switched to binary mode on Windows, written through stdio's
// buffer, with failures to write raised as stream errors by the callers of Write.
#include "tools/pelorin-unzip/StandardOutput.h"

#include "core/Exception.h"
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace pelorin {

StandardOutput::StandardOutput() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::size_t StandardOutput::Read(void*, std::size_t) { return 0; }

std::size_t StandardOutput::Write(const void* buffer, std::size_t count) {
    const std::size_t n = std::fwrite(buffer, 1, count, stdout);
    written_ += static_cast<std::int64_t>(n);
    return n;
}

std::int64_t StandardOutput::Seek(std::int64_t offset, int origin) {
    if (offset != 0 || origin != soFromCurrent) throw Exception("Standard output cannot be sought");
    return written_;
}

void StandardOutput::Flush() {
    if (std::fflush(stdout) != 0) throw Exception("Cannot write to standard output");
}

}  // namespace pelorin
