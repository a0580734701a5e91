// The run log's words for undo records by kind and root key, and FormatMessage's text for the
// error numbers that the replay's failures carry.
#include "uninstall/UninstallRunLog.h"

#include <windows.h>

#include <cstdlib>

namespace pelorin {
namespace {

std::string RootKeyName(std::uint32_t root) {
    static const char* const names[] = {"HKCR", "HKCU", "HKLM", "HKU", "HKPD", "HKCC", "HKDD"};
    const std::uint32_t index = root - 0x80000000u;
    return index < sizeof names / sizeof names[0] ? names[index] : "root " + std::to_string(root);
}

}  // namespace

std::string DescribeUndoRecord(const UndoRecord& record) {
    const std::string first = record.String(0);
    switch (record.kind) {
    case ukDirectory: return "folder " + first;
    case ukFile: return "file " + first + ((record.value & ufSharedCount) ? " (shared)" : "");
    case ukProgman:
        return record.String(1).empty() ? "program group " + first : "program item " + first + "\\" + record.String(1);
    case ukIniValue:
        return "INI value [" + record.String(1) + "] " + record.String(2) + " in " +
               (first.empty() ? "WIN.INI" : first);
    case ukIniSection: return "INI section [" + record.String(1) + "] in " + first;
    case ukRegKeyTree: return "registry key " + RootKeyName(record.value) + "\\" + first;
    case ukRegKeyIfEmpty: return "registry key, if empty, " + RootKeyName(record.value) + "\\" + first;
    case ukRegValue:
        return "registry value \"" + record.String(1) + "\" of " + RootKeyName(record.value) + "\\" + first;
    case ukShellNotify: return "shell notification for " + first;
    default: return "record of kind " + std::to_string(record.kind) + " (skipped)";
    }
}

std::string WithSystemText(const std::string& reason) {
    const std::size_t at = reason.rfind("error ");
    if (at == std::string::npos || at + 6 >= reason.size() ||
        reason.find_first_not_of("0123456789", at + 6) != std::string::npos)
        return reason;
    const DWORD code = std::strtoul(reason.c_str() + at + 6, nullptr, 10);
    char text[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                    sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
    return length ? reason + ": " + std::string(text, length) : reason;
}

}  // namespace pelorin
