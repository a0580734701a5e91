// Undoing a ukFile record. A rollback keeps files that existed before (with their new content);
// the uninstaller removes them, asking first when a shared file has no users left.
#include "setup/install/UndoFile.h"

#include <windows.h>
#include <shlobj.h>

#include "core/FilePath.h"
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

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (::lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0) return true;
    return ::lstrcmpiA(GetShortName(FullPath(a)).c_str(), GetShortName(FullPath(b)).c_str()) == 0;
}

std::string LastErrorText(DWORD code) { return "error " + std::to_string(code); }

// The running program cannot be deleted now: the platform removes it at the next restart.
void ScheduleRemoval(TUndoContext& context, const std::string& file) {
    if (RemovePathAtRestart(file))
        context.Scheduled(file);
    else
        context.Fail(ukFile, file, "in use; " + LastErrorText(::GetLastError()));
}

}  // namespace

void DeleteInstalledFile(TUndoContext& context, const std::string& file, bool notify) {
    if (HasHelpExtension(file)) {
        DeletePath(ChangeFileExt(file, ".GID"));
        DeletePath(ChangeFileExt(file, ".FTS"));
    }
    if (!FileExists(file)) return;
    if (SameFile(file, context.RunningFile())) {
        ScheduleRemoval(context, file);
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
