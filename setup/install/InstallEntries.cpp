// CreateIniEntries and CreateRegistryEntries. Registry keys are closed on every way out; a value
// of type 2 must be a whole decimal number of 32 bits.
#include "setup/install/InstallEntries.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

#include "core/TextFormat.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"

namespace pelorin {

namespace {

const char* const kSkipEntryHint =
    "Click Retry to try again, Ignore to skip this entry, or Abort to cancel installation.";

// The predefined root key named by a 32-bit handle value (sign-extended on 64-bit Windows).
std::int32_t StrToInt(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX)
        throw Exception(FormatText("'%s' is not a valid integer value", text));
    return static_cast<std::int32_t>(value);
}

void WriteRegistryEntry(const RegistryEntry& entry, TInstallContext& context) {
    const std::string keyPath = ExpandConstants(entry.SubKey);
    const std::string name = ExpandConstants(entry.ValueName);
    const bool record = (entry.Flags & (RegistryEntry::UninsDeleteValue | RegistryEntry::UninsDeleteKey)) != 0;
    const UndoKind kind = !(entry.Flags & RegistryEntry::UninsDeleteValue) ? ukRegKeyTree
                          : entry.ValueType != RegistryEntry::vtNone       ? ukRegValue
                                                                           : ukRegKeyIfEmpty;
    const std::vector<std::string> strings =
        kind == ukRegValue ? std::vector<std::string>{keyPath, name} : std::vector<std::string>{keyPath};
    if (record) context.Ahead(kind, strings, entry.RootKey);
    KeyHandle key;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(RootKeyHandle(entry.RootKey), keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE, nullptr, key.put(), &disposition) != ERROR_SUCCESS)
        throw Exception(FormatText("Error creating registry key: %s", keyPath));
    LONG result = ERROR_SUCCESS;
    if (entry.ValueType == RegistryEntry::vtString) {
        const std::string data = ExpandConstants(entry.ValueData);
        result = ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                  static_cast<DWORD>(data.size() + 1));
    } else if (entry.ValueType == RegistryEntry::vtDWord) {
        const std::int32_t number = StrToInt(entry.ValueData);
        result = ::RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                  sizeof number);
    }
    if (result != ERROR_SUCCESS) throw Exception(FormatText("Error writing to registry key: %s", keyPath));
    key.reset();

    if (record) context.Changes.AddChange(kind, strings, entry.RootKey);
}

}  // namespace

void CreateIniEntries(const std::vector<IniEntry>& entries, TInstallContext& context) {
    for (const IniEntry& entry : entries) {
        const std::string file = ExpandConstants(entry.IniFile);
        const std::string section = ExpandConstants(entry.Section);
        const std::string key = ExpandConstants(entry.Key);
        const std::string value = ExpandConstants(entry.Value);
        const bool record = (entry.Flags & (IniEntry::UninsDeleteEntry | IniEntry::UninsDeleteSection)) != 0;
        const UndoKind kind = (entry.Flags & IniEntry::UninsDeleteEntry) ? ukIniValue : ukIniSection;
        const std::vector<std::string> strings =
            kind == ukIniValue ? std::vector<std::string>{file, section, key} : std::vector<std::string>{file, section};
        if (record) {
            // A file the entry creates goes again with its last section, when nothing else is in it.
            const std::string path =
                file.empty() || file.find('\\') != std::string::npos ? file : AddBackslash(Globals().WinDir) + file;
            if (!path.empty() && !FileExists(path)) context.Ahead(ukFile, {path, ""}, ufIfBlank);
            context.Ahead(kind, strings, 0);
        }
        bool written = false;
        for (;;) {
            written = SetIniString(section, key, value, file);
            if (written) break;
            const std::string text = FormatText(
                "Error creating INI entry in file %s\r\n\r\nClick Retry to try again, Ignore to skip this entry, or Abort to cancel installation.",
                file);
            if (!AskAbortRetryIgnore(context.Prompt, text, "")) break;
        }
        if (written && record) context.Changes.AddChange(kind, strings, 0);
        context.CheckCancel();
    }
    AdvanceProgress(context.Progress, StepProgress);
}

void CreateRegistryEntries(const std::vector<RegistryEntry>& entries, TInstallContext& context) {
    for (const RegistryEntry& entry : entries) {
        for (;;) {
            try {
                WriteRegistryEntry(entry, context);
                break;
            } catch (const EAbort&) {
                throw;
            } catch (const Exception& e) {
                const std::string text = std::string(e.what()) + ".\r\n\r\n" + kSkipEntryHint;
                if (!AskAbortRetryIgnore(context.Prompt, text, "")) break;
            }
        }
    }
    AdvanceProgress(context.Progress, StepProgress);
}

}  // namespace pelorin
