// Editing the queued deletions: the NT value's name pairs and WININIT.INI's "[rename]" lines.
// Names are compared through the caller's predicate, which knows long and short forms.
#include "setup/install/PendingDeletes.h"

#include "core/TextCase.h"

namespace pelorin {

namespace {

const char kNtPrefix[] = "\\??\\";

std::string WithoutNtPrefix(const std::string& name) {
    return name.rfind(kNtPrefix, 0) == 0 ? name.substr(sizeof kNtPrefix - 1) : name;
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::vector<std::string> SplitMultiString(const std::string& value) {
    std::vector<std::string> strings;
    std::size_t start = 0;
    while (start < value.size()) {
        const std::size_t end = value.find('\0', start);
        if (end == std::string::npos) {
            strings.push_back(value.substr(start));
            break;
        }
        if (end == start && value.find_first_not_of('\0', start) == std::string::npos) break;  // the end mark
        strings.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

std::string JoinMultiString(const std::vector<std::string>& strings) {
    std::string value;
    for (const std::string& s : strings) value += s + '\0';
    return value + '\0';
}

bool RemovePendingDeletions(std::vector<std::string>& pairs, const TSamePath& same) {
    std::vector<std::string> kept;
    bool removed = false;
    std::size_t i = 0;
    for (; i + 1 < pairs.size(); i += 2) {
        if (pairs[i + 1].empty() && same(WithoutNtPrefix(pairs[i]))) {
            removed = true;
            continue;
        }
        kept.push_back(pairs[i]);
        kept.push_back(pairs[i + 1]);
    }
    // A last source without a target is a deletion too: the list's end mark is its empty target.
    if (i < pairs.size()) {
        if (same(WithoutNtPrefix(pairs[i])))
            removed = true;
        else
            kept.push_back(pairs[i]);
    }
    pairs.swap(kept);
    return removed;
}

bool RemoveWininitDeletions(std::vector<std::string>& lines, const TSamePath& same) {
    std::vector<std::string> kept;
    bool inRename = false, removed = false;
    for (const std::string& line : lines) {
        const std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed[0] == '[') {
            inRename = SameText(trimmed, "[rename]");
        } else if (inRename) {
            const std::size_t equals = trimmed.find('=');
            if (equals != std::string::npos && SameText(Trim(trimmed.substr(0, equals)), "NUL") &&
                same(Trim(trimmed.substr(equals + 1)))) {
                removed = true;
                continue;
            }
        }
        kept.push_back(line);
    }
    lines.swap(kept);
    return removed;
}

}  // namespace pelorin
