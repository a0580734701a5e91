// Installs a tiny application by hand and records it the way the installation engine does:
// folder first, then files, the uninstall key last.
#include "tests/win/uninstall/UninstallLog.h"

#include "tests/win/undo/UndoTestSupport.h"

namespace pelorin::testing {

InstalledApp::InstalledApp(const std::string& root)
    : Dir(root + "\\App"), LogPath(root + "\\App\\REMOVE.LOG"), Key(std::string(TestKeyRoot) + "\\Uninstall\\Demo") {
    ::CreateDirectoryA(Dir.c_str(), nullptr);
    ::CreateDirectoryA((Dir + "\\Docs").c_str(), nullptr);
    Changes.Title = "Demo Application";
    Changes.AddChange(ukDirectory, {Dir}, 0);
    Changes.AddChange(ukDirectory, {Dir + "\\Docs"}, 0);
    for (const char* name : {"demo.exe", "Docs\\demo.hlp"}) {
        WriteText(Dir + "\\" + name, "data");
        Changes.AddChange(ukFile, {Dir + "\\" + name, ""}, 0);
    }
    WriteText(Dir + "\\Docs\\demo.GID", "data");
    WriteValue(HKEY_CURRENT_USER, Key, "DisplayName", REG_SZ, "Demo Application");
    Changes.AddChange(ukRegKeyTree, {Key}, 0x80000001u);
    SaveLog();
}

bool InstalledApp::AnythingLeft() const { return DirExists(Dir) || KeyExists(HKEY_CURRENT_USER, Key); }

bool InstalledApp::EverythingThere() const {
    return FileExists(LogPath) && FileExists(Dir + "\\demo.exe") && FileExists(Dir + "\\Docs\\demo.hlp") &&
           FileExists(Dir + "\\Docs\\demo.GID") && KeyExists(HKEY_CURRENT_USER, Key);
}

}  // namespace pelorin::testing
