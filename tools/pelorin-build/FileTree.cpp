// Walks a folder tree of the building machine in the order a package keeps: names matched
// as Windows matches them (ASCII case folded), every path checked to be one Windows can hold.
#include "tools/pelorin-build/FileTree.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/TextCase.h"
#include "tools/pelorin-build/BuildError.h"
#include "update/unzip/Wildcard.h"

namespace pelorin {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path + "\\") {
        if (c != '\\' && c != '/') {
            part += c;
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

bool Matches(const std::string& pattern, const std::string& name) {
    return MatchesPattern(LowerCaseAscii(pattern), LowerCaseAscii(name));
}

bool HasForbiddenCharacter(const std::string& name, const char* forbidden) {
    return std::any_of(name.begin(), name.end(), [&](char c) {
        return static_cast<unsigned char>(c) < 0x20 || std::strchr(forbidden, c) != nullptr;
    });
}

// Windows drops a trailing dot or blank, so such a name would land under another one.
void CheckWindowsName(const std::string& relative) {
    for (const std::string& name : Components(relative)) {
        if (HasForbiddenCharacter(name, "<>:\"|?*") || name.back() == '.' || name.back() == ' ')
            throw BuildError(relative + ": \"" + name + "\" is not a file or folder name that Windows can hold");
    }
}

bool ExcludedBy(const std::string& pattern, const std::vector<std::string>& parts) {
    const std::vector<std::string> wanted = Components(pattern);
    const bool anchored = !pattern.empty() && (pattern[0] == '\\' || pattern[0] == '/');
    if (wanted.size() == 1 && !anchored)
        return std::any_of(parts.begin(), parts.end(),
                           [&](const std::string& part) { return Matches(wanted[0], part); });
    if (wanted.empty() || wanted.size() > parts.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (!Matches(wanted[i], parts[i])) return false;
    }
    return true;
}

void Collect(const TreeSelection& selection, const fs::path& folder, const std::string& prefix, TreeListing& listing) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string relative = prefix.empty() ? name : prefix + "\\" + name;
        std::error_code typeError;
        const bool directory = it->is_directory(typeError) && !it->is_symlink(typeError);
        if (directory && !selection.recurse) continue;
        if (!directory && (!it->is_regular_file(typeError) || !Matches(selection.pattern, name))) continue;
        if (IsExcluded(selection.excludes, relative)) {
            ++listing.excluded;
            continue;
        }
        if (directory) {
            Collect(selection, it->path(), relative, listing);
            continue;
        }
        CheckWindowsName(relative);
        listing.files.push_back({it->path().string(), relative});
    }
    if (error) throw BuildError("cannot read the folder " + folder.string() + ": " + error.message());
}

}  // namespace

TreeListing ListFileTree(const TreeSelection& selection) {
    TreeListing listing;
    Collect(selection, fs::path(selection.folder), std::string(), listing);
    std::sort(listing.files.begin(), listing.files.end(),
              [](const TreeFile& a, const TreeFile& b) { return a.relative < b.relative; });
    return listing;
}

bool IsExcluded(const std::vector<std::string>& excludes, const std::string& relative) {
    const std::vector<std::string> parts = Components(relative);
    return std::any_of(excludes.begin(), excludes.end(),
                       [&](const std::string& pattern) { return ExcludedBy(pattern, parts); });
}

std::string PatternProblem(const std::string& pattern) {
    if (Components(pattern).empty()) return "the pattern \"" + pattern + "\" names no file";
    if (HasForbiddenCharacter(pattern, "<>:\"|"))
        return "the pattern \"" + pattern + "\" holds a character that no Windows file name holds";
    return std::string();
}

}  // namespace pelorin
