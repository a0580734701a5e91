// Expands the destination with the setup program's own ExpandConstants, then judges each
// part of the path by itself; nothing here touches the disk.
#include "tools/pelorin-build/ExtractPath.h"

#include <cctype>

#include "setup/CmnFunc2.h"

namespace pelorin {

namespace {

bool IsDeviceName(const std::string& part) {
    std::string stem = part.substr(0, part.find('.'));
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

std::string RefusalOf(const std::string& part) {
    if (part.empty()) return "an empty folder name (an absolute path or a doubled separator)";
    if (part == "." || part == "..") return "a \"" + part + "\" part";
    if (part.back() == '.' || part.back() == ' ') return "a name ending in a dot or blank: \"" + part + "\"";
    for (const char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return "a control character in \"" + part + "\"";
        if (std::string("<>:\"|?*").find(c) != std::string::npos)
            return "the character " + std::string(1, c) + " in \"" + part + "\"";
    }
    if (IsDeviceName(part)) return "the device name \"" + part + "\"";
    return std::string();
}

}  // namespace

ExtractPath MapDestination(const std::string& destName) {
    const std::string mapped = ExpandConstants(destName, DirConstants{"src", "app", "win", "sys"});
    ExtractPath result;
    if (mapped.empty()) {
        result.refusal = "refused: an empty destination";
        return result;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = mapped.find_first_of("\\/", start);
        result.parts.push_back(mapped.substr(start, end == std::string::npos ? std::string::npos : end - start));
        const std::string refusal = RefusalOf(result.parts.back());
        if (!refusal.empty()) {
            result.refusal = "refused: " + refusal;
            result.parts.clear();
            return result;
        }
        if (end == std::string::npos) return result;
        start = end + 1;
    }
}

}  // namespace pelorin
