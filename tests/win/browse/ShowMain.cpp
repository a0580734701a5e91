// browse-show.exe: opens one of the browse dialogs for a person or a screenshot to look at.
// Usage: browse-show groups | folder | folder-check   (the folder dialogs with an extra button)
#include <windows.h>

#include <string>

#include "setup/wizard/BrowseFolder.h"
#include "setup/wizard/BrowseG.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const std::string what = commandLine;
    if (what == "groups") {
        pelorin::Tfbrowse fb;
        std::string group;
        fb.Execute(group);
        return 0;
    }
    pelorin::TBrowseFolder bf;
    bf.SetTitle("Browse Folders");
    bf.SetShowPathInStatusArea(true);
    bf.SetCustomButtonVisible(true);
    bf.SetSyncCustomButton(true);
    if (what == "folder-check") {
        bf.SetCustomButtonType(pelorin::btCheckBox);
        bf.SetCustomButtonCaption("Create a shortcut");
        bf.SetCustomButtonWidth(120);
        bf.SetCustomButtonChecked(true);
    } else {
        bf.SetCustomButtonCaption("&New Folder");
    }
    bf.SetDirectory("C:\\windows\\system32");
    return bf.Execute() ? 0 : 1;
}
