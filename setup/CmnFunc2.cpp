// Pure text helpers of the setup program: backslashes, version texts, replacement,
// expansion of the directory constants and quoting for command lines.
#include "setup/CmnFunc2.h"

#include "setup/Globals.h"

namespace pelorin {

std::string VersionText(int major, int minor) {
    // The minor number with at least two digits ("%.2d"), then without its trailing zeros.
    const long long value = minor;
    std::string m = std::to_string(value < 0 ? -value : value);
    if (m.size() < 2) m.insert(0, 1, '0');
    if (value < 0) m.insert(0, 1, '-');
    while (!m.empty() && m.back() == '0') m.pop_back();
    return std::to_string(major) + "." + m;
}

std::string StringReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string result;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t found = text.find(from, pos);
        if (found == std::string::npos) break;
        result.append(text, pos, found - pos);
        result += to;
        pos = found + from.size();
    }
    result.append(text, pos, std::string::npos);
    return result;
}

std::string ExpandConstants(const std::string& text, const DirConstants& dirs) {
    std::string s = text;
    s = StringReplaceAll(s, "{src}\\", AddBackslash(dirs.Src));
    s = StringReplaceAll(s, "{app}\\", AddBackslash(dirs.App));
    s = StringReplaceAll(s, "{win}\\", AddBackslash(dirs.Win));
    s = StringReplaceAll(s, "{sys}\\", AddBackslash(dirs.Sys));
    s = StringReplaceAll(s, "{src}", dirs.Src);
    s = StringReplaceAll(s, "{app}", dirs.App);
    s = StringReplaceAll(s, "{win}", dirs.Win);
    s = StringReplaceAll(s, "{sys}", dirs.Sys);
    return s;
}

std::string ExpandConstants(const std::string& text) { return ExpandConstants(text, Globals().Dirs()); }

std::string AddQuotes(const std::string& text) {
    const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isSpace(text[first])) ++first;
    while (last > first && isSpace(text[last - 1])) --last;
    const std::string s = text.substr(first, last - first);
    const bool quoted = !s.empty() && s.front() == '"' && s.back() == '"';
    if (s.find(' ') == std::string::npos || quoted) return s;
    return '"' + s + '"';
}

}  // namespace pelorin
