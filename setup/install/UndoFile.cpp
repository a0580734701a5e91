// Undoing a ukFile record. A rollback keeps files that existed before (with their new content);
// the uninstaller removes them, asking first when a shared file has no users left.
#include "setup/install/UndoFile.h"

#include <windows.h>
#include <shlobj.h>

#include "core/FilePath.h"
#include "core/TextCase.h"
#include "platform/win/Handles.h"
#include "platform/win/LongPath.h"
#include "setup/CmnFunc.h"
#include "setup/install/UndoSharedCount.h"

namespace pelorin {
namespace {

bool HasHelpExtension(const std::string& path) {
    const std::string help = ChangeFileExt(path, ".HLP");
    return help.size() == path.size() && ::lstrcmpiA(help.c_str(), path.c_str()) == 0;
}

// Whether file names the running program. A log names a file by its long or its short name, so
// a file whose own name is neither of the program's cannot be it; only the rest pay for the
// short-name lookup, which the system makes by reading the file's folder.
bool IsRunningFile(const TUndoContext& context, const std::string& file) {
    const std::string& running = context.RunningFile();
    if (file.empty() || running.empty()) return false;
    const std::string name = ExtractFileName(file);
    if (!SameText(name, ExtractFileName(running)) && !SameText(name, context.RunningShortFileName())) return false;
    if (::lstrcmpiA(FullPath(file).c_str(), FullPath(running).c_str()) == 0) return true;
    return ::lstrcmpiA(GetShortName(FullPath(file)).c_str(), GetShortName(FullPath(running)).c_str()) == 0;
}

std::string LastErrorText(DWORD code) { return "error " + std::to_string(code); }

// The running program cannot be deleted now: the platform removes it at the next restart.
void ScheduleRemoval(TUndoContext& context, const std::string& file) {
    if (RemovePathAtRestart(file))
        context.Scheduled(file);
    else
        context.Fail(ukFile, file, "in use; " + LastErrorText(::GetLastError()));
}

// A small file holding nothing but blanks and line ends (an INI file whose sections are gone).
bool IsBlankFile(const std::string& path) {
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    char bytes[4096];
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes, sizeof bytes, &got, nullptr) || got == sizeof bytes) return false;
    for (DWORD i = 0; i < got; ++i)
        if (bytes[i] != ' ' && bytes[i] != '\t' && bytes[i] != '\r' && bytes[i] != '\n') return false;
    return true;
}

}  // namespace

void DeleteInstalledFile(TUndoContext& context, const std::string& file, bool notify) {
    if (HasHelpExtension(file)) {
        DeletePath(ChangeFileExt(file, ".GID"));
        DeletePath(ChangeFileExt(file, ".FTS"));
    }
    if (!FileExists(file)) return;
    if (IsRunningFile(context, file)) {
        if (!context.RunningFileScheduled()) ScheduleRemoval(context, file);
        return;
    }
    if (!DeletePath(file)) {
        context.Fail(ukFile, file, LastErrorText(::GetLastError()));
        return;
    }
    if (notify) ::SHChangeNotify(SHCNE_DELETE, SHCNF_PATHA, file.c_str(), nullptr);
}

bool UnregisterServer(const std::string& path) {
    const ModuleHandle library(::LoadLibraryA(path.c_str()));
    if (!library) return false;
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    const auto entry =
        reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(::GetProcAddress(library.get(), "DllUnregisterServer")));
    return entry && entry() >= 0;
}

void UndoFileRecord(TUndoContext& context, const UndoRecord& record) {
    const std::string path = record.String(0);
    const std::string alternative = record.String(1);
    const std::uint32_t value = record.value;
    const bool notify = (value & ufNotifyShell) != 0;
    const std::string target = context.FullUninstall() || alternative.empty() ? path : alternative;

    if (value & ufIfBlank) {
        if (IsBlankFile(path)) DeleteInstalledFile(context, path, notify);
        return;
    }
    if (!context.FullUninstall() && (value & ufExisted)) {
        // The file stays with its new content; only a kept temporary file goes.
        if (value & ufSharedCount) DecrementSharedCount(path);
        if (target != path) DeleteInstalledFile(context, target, notify);
        return;
    }
    if (value & ufSharedCount) {
        if (!DecrementSharedCount(path)) return;
        if (!FileExists(target)) return;
        if (context.FullUninstall() && !context.Prompt().ConfirmRemoveSharedFile(path)) return;
    }
    if ((value & ufRegistered) && target == path && !UnregisterServer(path))
        context.Fail(ukFile, path, "DllUnregisterServer failed");
    if (context.FullUninstall() || !(value & ufUninstallOnly)) DeleteInstalledFile(context, target, notify);
}

}  // namespace pelorin
