// TInstallEngine: the steps run in order with a status text each; any error of the program's
// family ends them, is shown (unless it is the silent abort) and the records are replayed.
#include "setup/install/InstallEngine.h"

#include <windows.h>

#include <algorithm>

#include "platform/win/Handles.h"
#include "platform/win/WriteResult.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"
#include "setup/install/InstallDirs.h"
#include "setup/install/InstallEntries.h"
#include "setup/install/InstallFile.h"
#include "setup/install/InstallIcons.h"
#include "setup/install/InstallUninstall.h"
#include "setup/install/TestKillPoint.h"
#include "setup/install/UndoLog.h"

namespace pelorin {

std::int64_t ProgressMaximum(const SetupData& setup) {
    std::int64_t max = 0;
    for (const FileEntry& file : setup.FileEntries) max += file.CompressedSize;
    max += StepProgress * std::max<std::int32_t>(setup.Header.IconCount, 0);
    if (setup.Header.IniCount != 0) max += StepProgress;
    if (setup.Header.RegistryCount != 0) max += StepProgress;
    return max;
}

std::string UndoLogPath(const std::string& appDir) { return AddBackslash(appDir) + "REMOVE.LOG"; }

namespace {

// Writes the undo log in one go; a log that did not exist before is not left half-written on
// failure, and the failure names its cause (a short write is a full disk).
void SaveUndoLog(const TUndoChanges& changes, const std::string& path) {
    const bool existed = PathExists(path);
    const std::string bytes = EncodeUndoLog(changes);
    DWORD error = ERROR_SUCCESS;
    {
        const FileHandle file(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) throw EUndoLogError("Unable to create the file " + path);
        TestKillPoint("log");
        error = WriteWholeBuffer(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    if (error == ERROR_SUCCESS) return;
    if (!existed) ::DeleteFileA(path.c_str());
    throw EUndoLogError("Unable to write the file " + path + "\r\n\r\n" + SysErrorMessage(error));
}

}  // namespace

TInstallEngine::TInstallEngine(const SetupData& setup, TInstallContext& context) : setup_(setup), context_(context) {}

bool TInstallEngine::Run() {
    try {
        OpenJournal();
        Steps();
        TestKillPoint("done");
        journal_.Discard();
        return true;
    } catch (const EAbort&) {
        RollBack();
    } catch (const Exception& e) {
        context_.Prompt.ShowError(e.what());
        context_.Prompt.MsgBox(
            "Setup Wizard has not installed your software.\r\n\r\nPlease correct the problem and run Setup Wizard again.",
            "", mbError, MB_OK);
        RollBack();
    }
    return false;
}

void TInstallEngine::OpenJournal() {
    const SetupGlobals& globals = Globals();
    if (globals.WinDir.empty()) return;
    const bool createUninstall = (setup_.Header.Flags & SetupHeader::CreateUninstall) != 0;
    journal_.Open(JournalPathFor(globals.WinDir, setup_.Header.AppName), setup_.Header.AppName,
                  createUninstall ? UndoLogPath(globals.AppDir) : std::string(), globals.IsAdmin ? 1 : 0);
    context_.Journal = &journal_;
}

void TInstallEngine::Steps() {
    const SetupHeader& header = setup_.Header;
    const bool createUninstall = (header.Flags & SetupHeader::CreateUninstall) != 0;
    IInstallProgress& progress = context_.Progress;
    const SetupGlobals& globals = Globals();

    progress.SetStatus("Creating Directory Structure...");
    CreateDirectories(setup_.DirEntries, context_);

    context_.LogPath.clear();
    if (createUninstall) {
        context_.LogPath = UndoLogPath(globals.AppDir);
        RegisterUninstall(header.AppVerName, context_);
    }

    progress.SetStatus("Copying Application Files...");
    for (const FileEntry& entry : setup_.FileEntries) {
        InstallFile(entry, context_);
        context_.CheckCancel();
    }
    progress.SetFilename("");
    context_.CheckCancel();

    if (setup_.IconsStep) {
        progress.SetStatus("Setting Up Program Icons...");
        CreateIcons({globals.GroupName, setup_.IconEntries, createUninstall, header.AppName, globals.IsAdmin},
                    context_);
    }
    context_.CheckCancel();

    if (header.IniCount != 0) {
        progress.SetStatus("Creating INI entries...");
        CreateIniEntries(setup_.IniEntries, context_);
    }
    context_.CheckCancel();

    if (header.RegistryCount != 0) {
        progress.SetStatus("Updating Registry Entries...");
        CreateRegistryEntries(setup_.RegistryEntries, context_);
    }
    context_.CheckCancel();

    for (const UninstallDeleteEntry& entry : setup_.UninstallDeleteEntries)
        context_.Changes.AddChange(ukFile, {ExpandConstants(entry.FileName), ""}, ufUninstallOnly);
    context_.CheckCancel();

    if (createUninstall) {
        progress.SetStatus("Installing Remove Wizard...");
        context_.Ahead(ukFile, {context_.LogPath, ""}, PathExists(context_.LogPath) ? ufExisted : 0);
        SaveUndoLog(context_.Changes, context_.LogPath);
    }
    context_.Changes.Clear();
}

void TInstallEngine::RollBack() {
    context_.Journal = nullptr;
    try {
        UndoOptions options;
        options.Prompt = undoPrompt_;
        UndoAll(context_.Changes, options);
    } catch (const Exception& e) {
        // Only DDE's start-up can fail here, before anything was undone: the journal stays, and
        // the next setup of the application takes the installation back.
        context_.Prompt.ShowError(e.what());
        return;
    }
    // Everything recorded has been taken back as far as it can be; a kill before this point
    // leaves the journal, and the next recovery replays it again, which is harmless.
    journal_.Discard();
}

}  // namespace pelorin
