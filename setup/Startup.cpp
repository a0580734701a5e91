// Start-up of the setup program: everything between program entry and the first
// window, in the order the program depends on.
#include "setup/Startup.h"

#include "core/Exception.h"
#include "core/FilePath.h"
#include "platform/win/Handles.h"
#include "platform/win/WriteResult.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"
#include "setup/LoadSetup.h"
#include "setup/MsgBox.h"

namespace pelorin {

namespace {

constexpr WORD kDescriptionResource = 102;

void WriteWholeFile(const std::string& path, const void* data, DWORD size) {
    const FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw Exception("Cannot create file " + path);
    const DWORD error = WriteWholeBuffer(file.get(), data, size);
    if (error != ERROR_SUCCESS) throw Exception("Error writing file " + path + "\r\n\r\n" + SysErrorMessage(error));
}

// Step 7: the description out of the library into the temporary file; any failure
// is shown with its own reason first, then as the fatal start-up message.
void ExtractOrFail(const std::string& dllPath, const std::string& target) {
    try {
        ExtractSetupDescription(dllPath, target);
        return;
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        AnswerBox(e.what(), "Fatal error", MB_ICONSTOP | MB_OK);
    }
    if (!target.empty()) ::DeleteFileA(target.c_str());
    Fatal("Setup Wizard was unable to load PELORIN.DLL. This DLL is required to execute Setup Wizard.");
}

// Step 9: the description into SetupData; the loader deletes the file in every case.
void LoadOrFail(const std::string& path, SetupData& data) {
    try {
        LoadSetupDescription(path, data, CheckWindowsVersion);
    } catch (const ESetupIncompatible& e) {
        Fatal(e.what());
    } catch (const ESetupCorrupted& e) {
        Fatal(e.what());
    }
}

}  // namespace

void Fatal(const std::string& message) {
    MsgBox(message, "", mbError, MB_OK);
    throw EAbort();
}

std::string VersionRefusal(const WindowsVersion& running, const SetupHeader& header) {
    const bool nt = running.Platform == VER_PLATFORM_WIN32_NT;
    const int minMajor = nt ? header.MinNTMajor : header.MinWinMajor;
    const int minMinor = nt ? header.MinNTMinor : header.MinWinMinor;
    if (minMajor == 0)
        return nt ? "This program will not run on Windows NT." : "This program must be run on Windows NT.";
    if (running.Major > minMajor || (running.Major == minMajor && running.Minor >= minMinor)) return std::string();
    const std::string required = VersionText(minMajor, minMinor);
    return nt ? StringReplaceAll("This program requires Windows NT version %s or later.", "%s", required)
              : StringReplaceAll("This program requires Windows version %s or later.", "%s", required);
}

void CheckWindowsVersion(const SetupHeader& header) {
    const std::string refusal = VersionRefusal(GetWindowsVersion(), header);
    if (refusal.empty()) return;
    Globals().ExitCode = kExitPlatformRefused;
    Fatal(refusal);
}

std::string SourceDirOf(const std::string& programPath) {
    const std::string dir = ExtractFilePath(programPath);
    const std::size_t n = dir.size();
    if (n > 1 && dir[n - 1] == '\\' && dir[n - 2] != ':') return dir.substr(0, n - 1);
    return dir;
}

std::string ChooseSystemDir(const std::string& winDir, const std::string& sysDir) {
    if (sysDir.find(winDir) != std::string::npos) return sysDir;
    try {
        const std::string probe = MakeUniqueTempName(sysDir);
        {
            const FileHandle file(
                ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) return winDir;
        }
        ::DeleteFileA(probe.c_str());
        return sysDir;
    } catch (const Exception&) {
        return winDir;
    }
}

void ExtractSetupDescription(const std::string& dllPath, const std::string& target) {
    const ModuleHandle library(::LoadLibraryExA(dllPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!library) throw Exception("Error while loading the DLL.");
    const HRSRC resource =
        ::FindResourceA(library.get(), MAKEINTRESOURCEA(kDescriptionResource), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!resource) throw Exception("Resource 102 not found");
    const HGLOBAL loaded = ::LoadResource(library.get(), resource);
    const void* const bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) throw Exception("Resource 102 not found");
    WriteWholeFile(target, bytes, ::SizeofResource(library.get(), resource));
}

void RunStartup() {
    if (IsWin32s()) {
        Globals().ExitCode = kExitPlatformRefused;
        Fatal("This program will not run on Win32s.");
    }
    SeedRandom();

    SetupGlobals& g = Globals();
    const std::string ownPath = GetOwnPath();
    g.SrcDir = SourceDirOf(ownPath);

    const std::string tempDir = GetTempDir();
    const std::string tempFile = GetTempFileNameIn(tempDir, "zel");
    ExtractOrFail(AddBackslash(ExtractFilePath(ownPath)) + "PELORIN.DLL", tempFile);
    if (!PathExists(tempFile))
        Fatal(
            "A file required by Setup Wizard is missing from the installation directory. Please correct the problem or contact your provider.");
    LoadOrFail(tempFile, g.Setup);  // TotalSize, IconsStep and RestartRequired included

    g.WinDir = GetWinDir();
    g.SysDir = ChooseSystemDir(g.WinDir, GetSystemDir());
    g.ProgramFilesDir = GetProgramFilesDir(true);
    g.IsAdmin = IsAdmin();
}

}  // namespace pelorin
