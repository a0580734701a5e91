// Wildcard matching with one saved star position, so that runs of stars stay linear; an
// empty, unterminated or half-written set never matches.
#include "update/unzip/Wildcard.h"

#include <cstddef>

namespace pelorin {

namespace {

// Matches one character against the set that starts at pattern[at] ("<"). Sets next to the
// position after ">"; false when the set is malformed or does not hold the character.
bool MatchSet(const std::string& pattern, std::size_t at, char c, std::size_t& next) {
    std::size_t i = at + 1;
    bool negate = false;
    if (i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^')) {
        negate = true;
        ++i;
    }
    const std::size_t close = pattern.find('>', i);
    if (close == std::string::npos || close == i) return false;
    next = close + 1;
    bool found = false;
    while (i < close) {
        const char low = pattern[i];
        if (i + 1 < close && pattern[i + 1] == '-') {
            if (i + 2 >= close) return false;  // a range without its upper end
            const char high = pattern[i + 2];
            const auto a = static_cast<unsigned char>(low);
            const auto b = static_cast<unsigned char>(high);
            const auto x = static_cast<unsigned char>(c);
            if ((a <= x && x <= b) || (b <= x && x <= a)) found = true;
            i += 3;
            continue;
        }
        if (low == c) found = true;
        ++i;
    }
    return found != negate;
}

}  // namespace

bool MatchesPattern(const std::string& pattern, const std::string& name) {
    if (pattern == "*") return true;
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starP = std::string::npos;
    std::size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        std::size_t next = p + 1;
        const bool single =
            p < pattern.size() &&
            (pattern[p] == '?' || (pattern[p] == '<' ? MatchSet(pattern, p, name[n], next) : pattern[p] == name[n]));
        if (single) {
            p = next;
            ++n;
            continue;
        }
        if (starP == std::string::npos) return false;
        p = starP;
        n = ++starN;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace pelorin
