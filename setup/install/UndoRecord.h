// One recorded change of an installation: its kind, its value and its zero-separated strings.
// The kinds and value bits are stored in REMOVE.LOG, so their numbers never change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelorin {

enum UndoKind : std::uint8_t {
    ukDirectory = 0,      // directory; value: udNotifyShell
    ukFile = 1,           // file, alternative (temporary) file; value: uf* bits
    ukProgman = 2,        // group, item name ("" for the group itself)
    ukIniValue = 3,       // INI file ("" = the Windows INI file), section, key
    ukIniSection = 4,     // INI file, section
    ukRegKeyTree = 5,     // key path; value: root key
    ukRegKeyIfEmpty = 6,  // key path; value: root key
    ukRegValue = 7,       // key path, value name; value: root key
    ukShellNotify = 8,    // folder; value: the shell change event
};
constexpr std::uint8_t ukLastKind = ukShellNotify;

// Value bits of a ukDirectory record.
constexpr std::uint32_t udNotifyShell = 0x01;

// Value bits of a ukFile record.
constexpr std::uint32_t ufExisted = 0x01;        // the file was there before the installation
constexpr std::uint32_t ufUninstallOnly = 0x02;  // deleted by the uninstaller, kept by a rollback
constexpr std::uint32_t ufSharedCount = 0x04;    // counted under "SharedDLLs"
constexpr std::uint32_t ufRegistered = 0x08;     // DllRegisterServer was called on it
constexpr std::uint32_t ufNotifyShell = 0x10;    // tell the shell when it is deleted
// Only in recovery journals: an INI file the installation created, deleted when the replay
// has left nothing in it but blanks.
constexpr std::uint32_t ufIfBlank = 0x80;

// Largest data block of one record; longer data is cut to this length.
constexpr std::size_t MaxUndoDataLength = 64985;

struct UndoRecord {
    std::uint32_t value = 0;
    std::uint8_t kind = 0;
    std::string data;  // at most MaxUndoDataLength bytes

    // String number `index` of the data: string 0 starts at the first byte, string i after the
    // i-th zero byte. Missing strings are empty; a last string without its zero ends with the data.
    std::string String(std::size_t index) const;
};

// The data block for a list of strings: each string followed by one zero byte.
std::string JoinUndoStrings(const std::vector<std::string>& strings);

}  // namespace pelorin
