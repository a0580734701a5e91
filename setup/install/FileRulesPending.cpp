// The queued-deletion lists read and written: the Session Manager's REG_MULTI_SZ value on NT,
// WININIT.INI in the Windows folder on the 95 family. Names match in long or short form.
#include "setup/install/FileRulesPending.h"

#include <windows.h>

#include <vector>

#include "core/ByteSource.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"
#include "setup/install/PendingDeletes.h"

namespace pelorin {

namespace {

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingValue[] = "PendingFileRenameOperations";

std::string Resolved(const std::string& path, bool shortForm) {
    char full[MAX_PATH];
    DWORD length = ::GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string result = length == 0 || length >= sizeof full ? path : std::string(full, length);
    if (!shortForm) return result;
    char brief[MAX_PATH];
    length = ::GetShortPathNameA(result.c_str(), brief, sizeof brief);
    return length == 0 || length >= sizeof brief ? result : std::string(brief, length);
}

TSamePath SameAs(const std::string& path) {
    const std::string full = Resolved(path, false), brief = Resolved(path, true);
    return [full, brief](const std::string& queued) {
        return lstrcmpiA(Resolved(queued, false).c_str(), full.c_str()) == 0 ||
               lstrcmpiA(Resolved(queued, true).c_str(), brief.c_str()) == 0;
    };
}

// Edits the NT list; with write false only looks. True when a deletion of path was queued.
bool EditPendingValue(const std::string& path, bool write) {
    KeyHandle key;
    const REGSAM access = write ? KEY_QUERY_VALUE | KEY_SET_VALUE : KEY_QUERY_VALUE;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, access, key.put()) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key.get(), kPendingValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ)
        return false;
    std::string value(size, '\0');
    if (::RegQueryValueExA(key.get(), kPendingValue, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) !=
        ERROR_SUCCESS)
        return false;
    value.resize(size);
    std::vector<std::string> pairs = SplitMultiString(value);
    if (!RemovePendingDeletions(pairs, SameAs(path))) return false;
    if (!write) return true;
    if (pairs.empty()) {
        ::RegDeleteValueA(key.get(), kPendingValue);
    } else {
        const std::string joined = JoinMultiString(pairs);
        ::RegSetValueExA(key.get(), kPendingValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(joined.data()),
                         static_cast<DWORD>(joined.size()));
    }
    return true;
}

bool EditWininit(const std::string& path, bool write) {
    const std::string wininit = AddBackslash(Globals().WinDir) + "WININIT.INI";
    std::vector<std::string> lines;
    if (!ReadTextLines(wininit, lines)) return false;
    if (!RemoveWininitDeletions(lines, SameAs(path))) return false;
    if (!write) return true;
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    // Written beside the old file first, so a failed write leaves the old list in place.
    const std::string fresh = wininit + ".new";
    if (!WriteFileBytes(fresh, text)) {
        ::DeleteFileA(fresh.c_str());
        return true;
    }
    if (!::MoveFileExA(fresh.c_str(), wininit.c_str(), MOVEFILE_REPLACE_EXISTING)) ::DeleteFileA(fresh.c_str());
    return true;
}

}  // namespace

// Both lists are looked at on every platform: a removal may have queued through either.
bool IsDeletionQueued(const std::string& path) { return EditPendingValue(path, false) || EditWininit(path, false); }

bool CancelQueuedDeletion(const std::string& path) {
    const bool registry = EditPendingValue(path, true);
    const bool wininit = EditWininit(path, true);
    return registry || wininit;
}

}  // namespace pelorin
