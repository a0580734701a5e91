// Registry scaffolding for tests: a scratch key under HKEY_CURRENT_USER that goes away
// afterwards, a guard that puts one value back as it was, and key and value shortcuts.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/Handles.h"

namespace pelorin::testing {

class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY get() const { return key_.get(); }
    const std::string& path() const { return path_; }  // below HKEY_CURRENT_USER

private:
    std::string path_;
    KeyHandle key_;
};

// Remembers root\subkey's value name (or its absence) and restores it at the end.
class SavedValue {
public:
    SavedValue(HKEY root, std::string subkey, std::string name);
    ~SavedValue();
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    HKEY root_;
    std::string subkey_;
    std::string name_;
    std::optional<std::pair<DWORD, std::vector<BYTE>>> saved_;
};

// Creates root\subkey as needed and writes data of the type, with its terminating zero.
void WriteValue(HKEY root, const std::string& subkey, const std::string& name, DWORD type, const std::string& data);
void WriteRawValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size);
void DeleteValue(HKEY root, const std::string& subkey, const std::string& name);
void CreateKey(HKEY root, const std::string& subkey);
bool KeyExists(HKEY root, const std::string& subkey);
bool ValueExists(HKEY root, const std::string& subkey, const std::string& name);

}  // namespace pelorin::testing
