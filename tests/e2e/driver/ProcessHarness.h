// Test harness for the real programs under Wine: where the build tree is, scratch
// folders, starting a program, waiting for it, and running a console tool.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win/Handles.h"
#include "tests/e2e/driver/Driver.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"

namespace pelorin::e2e {

// A path from the environment of the test (a Unix path under Wine) in Windows form,
// e.g. PELORIN_BINARY_DIR "/work/b" -> "Z:\work\b". Empty when the variable is unset.
std::string WindowsPathFromEnv(const char* variable);

// The build tree (PELORIN_BINARY_DIR), or the folder above the test program's own.
std::string BinaryDir();
// The source tree (PELORIN_SOURCE_DIR).
std::string SourceDir();
// BinaryDir()\bin\name.
std::string ProgramPath(const std::string& name);

// The scratch folders and whole-file helpers are tests/support's, for every user of the harness.
using testing::ReadBytes;
using testing::RemoveTree;
using testing::ScratchDir;
using testing::WriteBytes;

void CopyFileOrFail(const std::string& from, const std::string& to);

// A program started for a test; it is ended when the object goes, if still running.
class RunningProgram {
public:
    // Starts commandLine (program path first) in workDir (empty: the test's folder).
    // Raises std::runtime_error when the process cannot be created.
    explicit RunningProgram(const std::string& commandLine, const std::string& workDir = "");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD pid() const { return pid_; }
    HANDLE handle() const { return process_.get(); }

    // The exit code once the program has ended; nothing when it still runs then.
    std::optional<DWORD> waitForExit(double timeoutSeconds);
    bool running() const;

private:
    KernelHandle process_;
    DWORD pid_ = 0;
};

// Waits up to timeoutSeconds for a message box (dialog of class #32770) of process pid,
// reads it, presses button and waits for that box to go; nothing when none came.
std::optional<driver::MessageBoxInfo> AnswerNextBox(DWORD pid, const std::string& button, double timeoutSeconds);

// Answers every message box (dialog of class #32770) that the program shows with
// button, in turn, until it ends or timeoutSeconds passed; the boxes as read.
std::vector<driver::MessageBoxInfo> AnswerBoxesUntilExit(RunningProgram& program, const std::string& button,
                                                         double timeoutSeconds = 30);

// Sets an environment variable of the test (and so of the programs it starts) for
// the scope; value nullptr removes it. The old value comes back at the end.
class EnvOverride {
public:
    EnvOverride(std::string name, const char* value);
    ~EnvOverride();
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Makes Wine report another Windows version ("win95", "nt40", "nt351", "win31", ...)
// to programs of the given file name started from now on, through
// HKCU\Software\Wine\AppDefaults\<exe>\Version; removed at the end.
class WineVersionOverride {
public:
    WineVersionOverride(std::string exeName, const std::string& version);
    ~WineVersionOverride();
    WineVersionOverride(const WineVersionOverride&) = delete;
    WineVersionOverride& operator=(const WineVersionOverride&) = delete;

private:
    std::string key_;
};

struct ToolResult {
    DWORD exitCode = 0;
    std::string output;  // stdout and stderr together
    bool timedOut = false;
};

// Runs a console program to its end and collects what it printed.
ToolResult RunTool(const std::string& commandLine, double timeoutSeconds = 60);

// commandLine quoting for one argument.
std::string Quote(const std::string& argument);

}  // namespace pelorin::e2e
