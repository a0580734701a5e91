// Snapshots for the install tests, and the queued deletions of a restart carried out by hand
// (Wine keeps them queued, since its prefix never restarts between the test's steps).
#include "tests/e2e/roundtrip/InstallSnapshot.h"

#include <windows.h>

#include "platform/win/Handles.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {

const std::vector<std::string> kWineChurn = {
    "key HKCU\\Software\\Wine\\MenuFiles",
    "value HKCU\\Software\\Wine\\MenuFiles\\*",
    "key HKCU\\Software\\Wine\\Temporary System Parameters*",
    "value HKCU\\Software\\Wine\\Temporary System Parameters*",
};

Snapshot TakeSnapshot(const std::vector<std::string>& skipFolders) {
    Snapshot all = SnapshotRegistry({{HKEY_LOCAL_MACHINE, "HKLM", "Software"},
                                     {HKEY_CURRENT_USER, "HKCU", "Software"},
                                     {HKEY_LOCAL_MACHINE, "HKLM", kSessionManager}});
    for (auto& entry : SnapshotFiles("C:", skipFolders)) all.insert(std::move(entry));
    return all;
}

void ForgetEarlierUninstaller() {
    const std::string ferrow = WindowsDir() + "\\FERROW.EXE";
    ::DeleteFileA(ferrow.c_str());
    KeyHandle shared;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_SET_VALUE, shared.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(shared.get(), ferrow.c_str());
}

void PrepareForSnapshot() {
    ForgetEarlierUninstaller();
    RestartDeletions();
    KeyHandle shared;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, nullptr, 0, KEY_READ, nullptr, shared.put(), nullptr);
}

std::vector<std::string> RestartDeletions() {
    std::vector<std::string> deleted;
    std::string joined = RegMultiString(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations");
    // Pairs of "\??\source" and target, joined with "|".
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = joined.find('|', start);
        parts.push_back(joined.substr(start, bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string source = parts[i];
        if (source.rfind("\\??\\", 0) == 0) source.erase(0, 4);
        if (!parts[i + 1].empty() || source.empty()) continue;
        ::DeleteFileA(source.c_str());
        deleted.push_back(source);
    }
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueA(key.get(), "PendingFileRenameOperations");
    return deleted;
}

}  // namespace pelorin::e2e
