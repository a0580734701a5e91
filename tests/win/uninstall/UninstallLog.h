// A small installed application for the uninstaller tests: folder, files, a registry key
// and the REMOVE.LOG that records them, written as the installation would.
#pragma once

#include <string>

#include "setup/install/UndoChanges.h"

namespace pelorin::testing {

struct InstalledApp {
    std::string Dir;      // {app}
    std::string LogPath;  // {app}\REMOVE.LOG
    std::string Key;      // below HKEY_CURRENT_USER
    TUndoChanges Changes;

    // Creates folder, files and key under `root` and writes the log.
    explicit InstalledApp(const std::string& root);
    void SaveLog() const { Changes.SaveToFile(LogPath); }
    bool AnythingLeft() const;  // folder or key still there
    bool EverythingThere() const;
};

}  // namespace pelorin::testing
