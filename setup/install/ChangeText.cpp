// DescribeChange: one sentence per record kind, naming the root keys of registry records and
// the flags of file records as a reader of the log needs them.
#include "setup/install/ChangeText.h"

namespace pelorin {
namespace {

std::string RootKeyName(std::uint32_t root) {
    switch (root) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case 0x80000001u: return "HKEY_CURRENT_USER";
    case 0x80000002u: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    default: return "key " + std::to_string(root);
    }
}

std::string IniFile(const std::string& file) { return file.empty() ? std::string("WIN.INI") : file; }

std::string DescribeFile(const UndoRecord& record) {
    const std::string file = record.String(0);
    const std::string kept = record.String(1);
    if (record.value & ufSharedCount) return "shared file " + file + " counted under SharedDLLs";
    std::string text = "file " + file + " installed";
    if (record.value & ufExisted) text += ", replacing an existing file";
    if (!kept.empty()) text += ", its new content waiting in " + kept + " for the next restart";
    if (record.value & ufRegistered) text += ", registered";
    if (record.value & ufUninstallOnly) text += " (removed only by the uninstaller)";
    return text;
}

}  // namespace

std::string DescribeChange(const UndoRecord& record) {
    switch (record.kind) {
    case ukDirectory: return "folder " + record.String(0) + " created";
    case ukFile: return DescribeFile(record);
    case ukProgman:
        return record.String(1).empty()
                   ? "program group \"" + record.String(0) + "\" created"
                   : "program item \"" + record.String(1) + "\" created in group \"" + record.String(0) + "\"";
    case ukIniValue:
        return "INI value " + record.String(2) + " written in section [" + record.String(1) + "] of " +
               IniFile(record.String(0));
    case ukIniSection: return "INI section [" + record.String(1) + "] written in " + IniFile(record.String(0));
    case ukRegKeyTree: return "registry key " + RootKeyName(record.value) + "\\" + record.String(0) + " created";
    case ukRegKeyIfEmpty: return "registry key " + RootKeyName(record.value) + "\\" + record.String(0) + " used";
    case ukRegValue:
        return "registry value \"" + record.String(1) + "\" written in " + RootKeyName(record.value) + "\\" +
               record.String(0);
    default: return std::string();
    }
}

}  // namespace pelorin
