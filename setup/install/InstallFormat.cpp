// FormatText: measures the result first, then formats into a string of that size.
// A format error gives the format itself back rather than a broken text.
#include "setup/install/InstallFormat.h"

#include <cstdarg>
#include <cstdio>

namespace pelorin {

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (size < 0) {
        va_end(args);
        return format;
    }
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, args);
    va_end(args);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

}  // namespace pelorin

#include <windows.h>

namespace pelorin {

std::string SysErrorMessage(unsigned long code) {
    char buffer[512] = {};
    const DWORD size = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, sizeof buffer, nullptr);
    std::string text(buffer, size);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty()) return FormatText("Error %d", static_cast<int>(code));
    return text;
}

}  // namespace pelorin
