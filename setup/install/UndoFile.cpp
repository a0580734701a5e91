// Undoing a ukFile record. A rollback keeps files that existed before (with their new content);
// the uninstaller removes them, asking first when a shared file has no users left.
#include "setup/install/UndoFile.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/win/Handles.h"
#include "setup/install/UndoSharedCount.h"

namespace pelorin {
namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The path with its extension (if any) replaced; the extension starts at the last "."
// of the file name.
std::string ChangeExtension(const std::string& path, const char* extension) {
    const std::size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.') return path + extension;
    return path.substr(0, dot) + extension;
}

bool HasHelpExtension(const std::string& path) {
    const std::string help = ChangeExtension(path, ".HLP");
    return help.size() == path.size() && ::lstrcmpiA(help.c_str(), path.c_str()) == 0;
}

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return length == 0 || length >= sizeof buffer ? path : std::string(buffer, length);
}

std::string ShortPath(const std::string& path) {
    char buffer[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return length == 0 || length >= sizeof buffer ? path : std::string(buffer, length);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (::lstrcmpiA(FullPath(a).c_str(), FullPath(b).c_str()) == 0) return true;
    return ::lstrcmpiA(ShortPath(FullPath(a)).c_str(), ShortPath(FullPath(b)).c_str()) == 0;
}

std::string LastErrorText(DWORD code) { return "error " + std::to_string(code); }

// The running program cannot be deleted now: the platform removes it at the next restart.
void ScheduleRemoval(TUndoContext& context, const std::string& file) {
    if (::MoveFileExA(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
        context.Scheduled(file);
    else
        context.Fail(ukFile, file, "in use; " + LastErrorText(::GetLastError()));
}

}  // namespace

void DeleteInstalledFile(TUndoContext& context, const std::string& file, bool notify) {
    if (HasHelpExtension(file)) {
        ::DeleteFileA(ChangeExtension(file, ".GID").c_str());
        ::DeleteFileA(ChangeExtension(file, ".FTS").c_str());
    }
    if (!FileExists(file)) return;
    if (SameFile(file, context.RunningFile())) {
        ScheduleRemoval(context, file);
        return;
    }
    if (!::DeleteFileA(file.c_str())) {
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
