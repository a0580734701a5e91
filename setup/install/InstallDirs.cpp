// CreateDirTree walks up to the first existing ancestor and creates the folders on the way down;
// only the folder a step names gets an undo record.
#include "setup/install/InstallDirs.h"

#include <windows.h>

#include "core/FilePath.h"
#include "core/TextFormat.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"

namespace pelorin {

void CreateDirTree(const std::string& dir) {
    const std::string path = RemoveBackslash(dir);
    if (path.size() < 3 || DirExists(path)) return;
    const std::string parent = ExtractFilePath(path);
    if (parent == path) return;
    CreateDirTree(parent);
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        throw Exception(FormatText("Setup was unable to create the directory %s", path));
}

void CreateDirectories(const std::vector<DirEntry>& dirs, TInstallContext& context) {
    const std::string app = Globals().AppDir;
    context.Ahead(ukDirectory, {app}, 0);
    CreateDirTree(app);
    context.Changes.AddChange(ukDirectory, {app}, 0);
    for (const DirEntry& entry : dirs) {
        const std::string path = ExpandConstants(entry.DirName);
        context.Ahead(ukDirectory, {path}, 0);
        CreateDirTree(path);
        context.Changes.AddChange(ukDirectory, {path}, 0);
    }
}

}  // namespace pelorin
