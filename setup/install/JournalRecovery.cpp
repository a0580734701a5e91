// Journals live in the Windows folder as PELORIN-xxxxxxxx.JNL; a setup finds its own by name,
// the uninstaller by the undo log path written inside.
#include "setup/install/JournalRecovery.h"

#include <windows.h>

#include "core/TextCase.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/install/UndoLog.h"
#include "setup/install/UndoSharedCount.h"

namespace pelorin {
namespace {

// The installation that writes a journal holds it open for writing and shares it for reading
// only: a journal that cannot be opened for writing belongs to a setup that is running now.
bool InUse(const std::string& path) {
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::optional<FoundJournal> ReadJournal(const std::string& path) {
    if (InUse(path)) return std::nullopt;
    FileByteSource in(path);
    if (!in.IsOpen()) return std::nullopt;
    try {
        return FoundJournal{path, DecodeUndoJournal(in)};
    } catch (const EUndoLogError&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<FoundJournal> FindJournalOfApp(const std::string& winDir, const std::string& appName) {
    const std::string path = AddBackslash(winDir) + JournalFileName(appName);
    if (!FileExists(path)) return std::nullopt;
    std::optional<FoundJournal> found = ReadJournal(path);
    // A journal cut before its name holds nothing to undo; it is still this application's.
    if (found && !found->Journal.AppName.empty() && !SameText(found->Journal.AppName, appName)) return std::nullopt;
    return found;
}

std::optional<FoundJournal> FindJournalOfLog(const std::string& winDir, const std::string& logPath) {
    const std::string folder = AddBackslash(winDir);
    WIN32_FIND_DATAA data{};
    const FindHandle find(::FindFirstFileA((folder + "PELORIN-*.JNL").c_str(), &data));
    if (!find) return std::nullopt;
    do {
        if (!IsJournalFileName(data.cFileName)) continue;
        std::optional<FoundJournal> found = ReadJournal(folder + data.cFileName);
        if (found && !found->Journal.LogPath.empty() && SameText(found->Journal.LogPath, logPath)) return found;
    } while (::FindNextFileA(find.get(), &data));
    return std::nullopt;
}

bool RecoverJournal(const FoundJournal& found, const UndoOptions& options) {
    TUndoChanges plan = PlanJournalRollback(found.Journal, CurrentSharedCount);
    UndoOptions rollback = options;
    rollback.FullUninstall = false;
    const bool complete = UndoAll(plan, rollback);
    ::DeleteFileA(found.Path.c_str());
    return complete;
}

}  // namespace pelorin
