// RegisterUninstall: picks the first free "%s_is%d" name, creates it and writes DisplayName,
// UninstallString and QuietUninstallString (the same command with /S, for deployment tools). The
// key is recorded as soon as it exists, so a failed write is rolled back too.
#include "setup/install/InstallUninstall.h"

#include <windows.h>

#include "core/TextFormat.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"

namespace pelorin {

namespace {

void WriteString(HKEY key, const char* name, const std::string& value, const std::string& keyPath) {
    if (::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw Exception(FormatText("Error writing to registry key: %s", keyPath));
}

}  // namespace

std::string UninstallerPath() { return AddBackslash(Globals().WinDir) + "FERROW.EXE"; }

void RegisterUninstall(const std::string& appVerName, TInstallContext& context) {
    if (GetWindowsVersion().Major < 4) return;
    KeyHandle root;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE,
                          nullptr, root.put(), &disposition) != ERROR_SUCCESS)
        return;

    std::string name;
    for (int i = 1;; ++i) {
        name = FormatText("%s_is%d", appVerName, i);
        KeyHandle existing;
        if (::RegOpenKeyExA(root.get(), name.c_str(), 0, KEY_QUERY_VALUE, existing.put()) != ERROR_SUCCESS) break;
    }

    const std::string keyPath = std::string(UninstallKey) + "\\" + name;
    context.Ahead(ukRegKeyTree, {keyPath}, RootKeyValue(HKEY_LOCAL_MACHINE));
    KeyHandle key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                          nullptr, key.put(), &disposition) != ERROR_SUCCESS)
        throw Exception(FormatText("Error creating registry key: %s", keyPath));
    context.Changes.AddChange(ukRegKeyTree, {keyPath}, RootKeyValue(HKEY_LOCAL_MACHINE));

    WriteString(key.get(), "DisplayName", appVerName, keyPath);
    const std::string command = FormatText("\"%s\" \"%s\" /U", UninstallerPath(), context.LogPath);
    WriteString(key.get(), "UninstallString", command, keyPath);
    WriteString(key.get(), "QuietUninstallString", command + " /S", keyPath);
}

}  // namespace pelorin
