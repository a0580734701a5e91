// ASCII case helpers for keywords of the project file (section, key and value
// names compare without regard to case; texts themselves never change case).
#pragma once

#include <string>

namespace pelorin {

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string lowerAscii(const std::string& text) {
    std::string result = text;
    for (char& c : result) c = lowerAscii(c);
    return result;
}

inline bool equalsNoCase(const std::string& a, const std::string& b) { return lowerAscii(a) == lowerAscii(b); }

}  // namespace pelorin
