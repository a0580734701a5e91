// ASCII case folding and comparison of 8-bit texts.
// Bytes above 127 are compared as they are.
#include "core/TextCase.h"

#include <algorithm>

namespace pelorin {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string LowerCaseAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), LowerAscii);
    return text;
}

int CompareTextAscii(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(const std::string& a, const std::string& b) { return CompareTextAscii(a, b) == 0; }

}  // namespace pelorin
