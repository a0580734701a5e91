// The program-wide values of the setup program: the directory values, the group, the
// program-files folder, the administrator flag, the restart choice, SetupData, the switches and the log.
#pragma once

#include <string>

#include "core/RunLog.h"
#include "setup/CmnFunc2.h"
#include "setup/CommandLine.h"
#include "setup/ExitCodes.h"
#include "setup/Struct.h"

namespace pelorin {

struct SetupGlobals {
    std::string SrcDir;           // {src}: folder of the setup program
    std::string AppDir;           // {app}: destination folder, empty until chosen
    std::string WinDir;           // {win}
    std::string SysDir;           // {sys}, or {win} when the system folder is not writable
    std::string GroupName;        // program group, empty until chosen
    std::string ProgramFilesDir;  // with trailing backslash, or empty
    bool IsAdmin = false;
    bool RestartChosen = false;  // restart the computer after the message loop
    // The description, TotalSize, IconsStep and RestartRequired.
    SetupData Setup;
    SetupOptions Options;        // the command line's switches
    int ExitCode = kExitFailed;  // set by whatever ends the run

    DirConstants Dirs() const { return {SrcDir, AppDir, WinDir, SysDir}; }
};

// The one program-wide instance.
SetupGlobals& Globals();

// The run's log, open when /LOG named a file; program-wide like the values above.
TRunLog& SetupLog();

}  // namespace pelorin
