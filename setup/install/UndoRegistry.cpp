// Undoing the registry records. A key that cannot be opened is left alone; a key is
// deleted only when it has neither subkeys nor values left.
#include "setup/install/UndoRegistry.h"

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"

namespace pelorin {
namespace {

const char* RootName(std::uint32_t value) {
    static const char* const names[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                                        "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                        "HKEY_DYN_DATA"};
    return value >= 0x80000000u && value <= 0x80000006u ? names[value - 0x80000000u] : "(no root key)";
}

std::string KeyName(const UndoRecord& record) { return std::string(RootName(record.value)) + "\\" + record.String(0); }

// The record's root key; a record naming none fails.
HKEY RootOf(TUndoContext& context, const UndoRecord& record) {
    const HKEY root = RootKeyHandle(record.value);
    if (!root) context.Fail(record.kind, KeyName(record), "not a root key");
    return root;
}

}  // namespace

void UndoRegKeyTree(TUndoContext& context, const UndoRecord& record) {
    const HKEY root = RootOf(context, record);
    if (!root) return;
    const std::string path = record.String(0);
    {
        KeyHandle key;
        if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return;
    }
    if (!RegDeleteKeyIncludingSubkeys(root, path)) context.Fail(record.kind, KeyName(record), "not deleted");
}

void UndoRegKeyIfEmpty(TUndoContext& context, const UndoRecord& record) {
    const HKEY root = RootOf(context, record);
    if (!root) return;
    const std::string path = record.String(0);
    KeyHandle key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
    if (record.kind == ukRegValue) {
        const std::string name = record.String(1);
        if (RegValueExists(key.get(), name) && ::RegDeleteValueA(key.get(), name.c_str()) != ERROR_SUCCESS)
            context.Fail(record.kind, KeyName(record) + " \"" + name + "\"", "value not deleted");
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    const LONG info = ::RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                         nullptr, nullptr, nullptr, nullptr);
    key.reset();
    if (info != ERROR_SUCCESS) {
        context.Fail(record.kind, KeyName(record), "cannot be examined");
        return;
    }
    if (subkeys == 0 && values == 0 && !RegDeleteKeyIncludingSubkeys(root, path))
        context.Fail(record.kind, KeyName(record), "not deleted");
}

}  // namespace pelorin
