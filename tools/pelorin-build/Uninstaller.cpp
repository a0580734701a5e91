// Finds the uninstaller program on the building machine and adds its file entry,
// so that every package with an uninstall entry also carries the program it starts.
#include "tools/pelorin-build/Uninstaller.h"

#include <filesystem>

#include "core/TextCase.h"

namespace pelorin {

namespace fs = std::filesystem;

const char* const kUninstallerDestName = "{win}\\FERROW.EXE";

namespace {

constexpr const char* kUninstallerName = "ferrow.exe";

// The file of that name in folder, compared without regard to case: build trees
// on case-sensitive file systems may spell it either way.
std::string FindInFolder(const fs::path& folder) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return std::string();
    for (const fs::directory_entry& entry : it) {
        if (LowerCaseAscii(entry.path().filename().string()) != kUninstallerName) continue;
        std::error_code typeError;
        if (entry.is_regular_file(typeError)) return entry.path().lexically_normal().string();
    }
    return std::string();
}

}  // namespace

std::string FindUninstaller(const std::string& toolPath) {
    if (toolPath.empty()) return std::string();
    const fs::path bin = fs::path(toolPath).parent_path();
    for (const fs::path& folder : {bin, bin.parent_path().parent_path() / "win64" / "bin"}) {
        std::string found = FindInFolder(folder);
        if (!found.empty()) return found;
    }
    return std::string();
}

bool NeedsUninstaller(const Project& project) {
    if ((project.setup.Header.Flags & SetupHeader::CreateUninstall) == 0 || !project.includeUninstaller) return false;
    for (const FileEntry& entry : project.setup.FileEntries) {
        if ((entry.Flags & FileEntry::IsUndoLog) == 0 && SameText(entry.DestName, kUninstallerDestName)) return false;
    }
    return true;
}

void AddUninstallerEntry(Project& project, const std::string& path) {
    FileEntry entry;
    entry.DestName = kUninstallerDestName;
    entry.CopyMode = cmNoAskNewer;
    entry.Flags = FileEntry::SharedFile;
    FileSource source;
    source.path = path;
    source.projectFile = path;  // errors while storing it name the program itself
    auto& entries = project.setup.FileEntries;
    entries.insert(entries.begin(), entry);
    project.sources.insert(project.sources.begin(), source);
}

}  // namespace pelorin
