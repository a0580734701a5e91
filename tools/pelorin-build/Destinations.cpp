// Compares and splits destination paths the way the setup program's Windows sees them,
// for the duplicate check and the folders added to the description.
#include "tools/pelorin-build/Destinations.h"

#include <map>
#include <set>

#include "core/TextCase.h"
#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

namespace {

// "/" as "\", no trailing separator: the spelling that is written into the description.
std::string Normal(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

std::string Key(const std::string& path) { return LowerCaseAscii(Normal(path)); }

std::string DestField(const FileSource& source) { return source.treeFile.empty() ? "DestName" : "DestDir"; }

std::string Origin(const FileSource& source) {
    return source.treeFile.empty() ? "the [File] at line " + std::to_string(source.destLine)
                                   : source.treeFile + " of the folder tree at line " + std::to_string(source.destLine);
}

// The folders of a destination between its constant and its file name: "{app}\a\b\f.txt"
// needs "{app}\a" and "{app}\a\b". Nothing for a path without a leading constant, and
// nothing beyond a "." or ".." step, whose folder the tool cannot tell.
std::vector<std::string> FoldersOf(const std::string& destName) {
    static const char* const kRoots[] = {"{app}\\", "{win}\\", "{sys}\\", "{src}\\"};
    const std::string path = Normal(destName);
    std::vector<std::string> folders;
    bool underRoot = false;
    for (const char* root : kRoots) underRoot = underRoot || path.compare(0, 6, root) == 0;
    if (!underRoot) return folders;
    for (std::size_t at = path.find('\\', 6); at != std::string::npos; at = path.find('\\', at + 1)) {
        const std::string folder = path.substr(0, at);
        const std::string name = folder.substr(folder.rfind('\\') + 1);
        if (name.empty() || name == "." || name == "..") break;
        folders.push_back(folder);
    }
    return folders;
}

}  // namespace

void CheckDestinations(const Project& project) {
    const auto& entries = project.setup.FileEntries;
    std::map<std::string, std::size_t> first;  // destination -> first entry going there
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((entries[i].Flags & FileEntry::IsUndoLog) != 0 || entries[i].DestName.empty()) continue;
        const auto [earlier, added] = first.emplace(Key(entries[i].DestName), i);
        if (added) continue;
        const FileSource& before = project.sources.at(earlier->second);
        const FileSource& source = project.sources.at(i);
        if (before.treeFile.empty() && source.treeFile.empty()) continue;
        throw BuildError(source.projectFile, source.destLine, DestField(source),
                         entries[i].DestName + (source.treeFile.empty() ? "" : " (" + source.treeFile + ")") +
                             " is also the destination of " + Origin(before) +
                             "; Windows does not tell the two names apart");
    }
}

void AddNeededDirs(Project& project) {
    auto& dirs = project.setup.DirEntries;
    std::set<std::string> known;
    for (const DirEntry& dir : dirs) known.insert(Key(dir.DirName));
    const auto& entries = project.setup.FileEntries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((entries[i].Flags & FileEntry::IsUndoLog) != 0) continue;
        for (const std::string& folder : FoldersOf(entries[i].DestName)) {
            if (!known.insert(Key(folder)).second) continue;
            const FileSource& source = project.sources.at(i);
            if (folder.size() > DirEntry::DirNameCapacity)
                throw BuildError(
                    source.projectFile, source.destLine, DestField(source),
                    "the folder " + folder + (source.treeFile.empty() ? "" : " (for " + source.treeFile + ")") +
                        " is " + std::to_string(folder.size()) + " characters long; its [Dir] entry holds " +
                        std::to_string(DirEntry::DirNameCapacity) + ", so setup could not record it for uninstalling");
            DirEntry entry;
            entry.DirName = folder;
            dirs.push_back(entry);
        }
    }
}

}  // namespace pelorin
