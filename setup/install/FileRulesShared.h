// The use counter of a shared file under "SharedDLLs": raised once per installation.
// The counter keeps the value type it was found with (text, binary or number).
#pragma once

#include <windows.h>

#include <string>

#include "core/Exception.h"

namespace pelorin {

// The key, below HKEY_LOCAL_MACHINE, whose values count the users of shared files.
inline constexpr char SharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// A counter as stored: its number and the value type it is written back in.
struct TSharedCounter {
    long long Count = 0;
    DWORD Kind = REG_DWORD;
};

// Reads the counter named name from the open key: a decimal REG_SZ text, a REG_BINARY of 1 to 4
// bytes (little-endian) or a REG_DWORD. False when it is missing or is none of these.
bool ReadSharedCounter(HKEY key, const std::string& name, TSharedCounter& counter);

// Writes the counter back in its kind: decimal text with its zero, or 4 bytes.
// The result of the write is not examined.
void WriteSharedCounter(HKEY key, const std::string& name, const TSharedCounter& counter);

// Raises the counter named by path. A missing counter of a file that existed before counts as
// one unknown user. Raises "Error opening registry key: %s" when the key cannot be opened.
void IncrementSharedCount(const std::string& path, bool existed);

}  // namespace pelorin
