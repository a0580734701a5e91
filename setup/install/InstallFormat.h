// printf-style formatting of message texts, so each message stands in the code as one literal.
// Arguments follow the C conventions (%s takes const char*, %d an int).
#pragma once

#include <string>

namespace pelorin {

std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace pelorin

namespace pelorin {

// The system's text for an error code, without its line end; "Error %d" when it has none.
std::string SysErrorMessage(unsigned long code);

}  // namespace pelorin
