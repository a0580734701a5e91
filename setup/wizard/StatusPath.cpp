// ShortenStatusPath: split at "\", replace and drop parts, join again.
// Works on the bytes of the ANSI text, as the status line shows them.
#include "setup/wizard/StatusPath.h"

#include <vector>

namespace pelorin {

namespace {

std::vector<std::string> SplitAtBackslash(const std::string& path) {
    std::vector<std::string> parts(1);
    for (const char c : path) {
        if (c == '\\') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) joined += '\\';
        joined += parts[i];
    }
    return joined;
}

}  // namespace

std::string ShortenStatusPath(const std::string& path, std::size_t maxLength) {
    if (path.size() <= maxLength) return path;
    std::vector<std::string> parts = SplitAtBackslash(path);
    if (parts.size() <= 2) return path;
    parts[1] = "...";
    std::string result = Join(parts);
    while (result.size() > maxLength && parts.size() > 3) {
        parts.erase(parts.begin() + 2);
        result = Join(parts);
    }
    return result;
}

}  // namespace pelorin
