// Helpers of the replay tests: temporary folders, files, shared counters and test keys.
// Test keys are kept below one key of the current user and removed by each test.
#include "tests/win/undo/UndoTestSupport.h"

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/install/FileRulesShared.h"

namespace pelorin::testing {

const char TestKeyRoot[] = "Software\\Pelorin Tests\\Undo";

namespace {

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    FindHandle find(::FindFirstFileA((dir + "\\*").c_str(), &data));
    if (find) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = dir + "\\" + name;
            ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryA(dir.c_str());
}

KeyHandle SharedKey() {
    KeyHandle key;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, SharedDllsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    return key;
}

}  // namespace

TempFolder::TempFolder() {
    char temp[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    // The platform picks a free name as a file; the folder takes its place.
    ::GetTempFileNameA(temp, "pud", 0, name);
    ::DeleteFileA(name);
    ::CreateDirectoryA(name, nullptr);
    path_ = name;
}

TempFolder::~TempFolder() {
    ::SetCurrentDirectoryA(std::string(path_, 0, 3).c_str());
    RemoveTree(path_);
}

void WriteTextFile(const std::string& path, const std::string& text) {
    FileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExistsNow(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReplayResult Replay(TUndoChanges& changes, bool fullUninstall, IUndoPrompt& prompt, const std::string& runningFile) {
    ReplayResult result;
    UndoOptions options;
    options.FullUninstall = fullUninstall;
    options.Prompt = &prompt;
    options.RunningFile = runningFile;
    options.Failures = &result.Failures;
    result.Ok = UndoAll(changes, options);
    return result;
}

void SetSharedCounter(const std::string& path, DWORD type, const void* data, DWORD size) {
    ::RegSetValueExA(SharedKey().get(), path.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

void SetSharedCount(const std::string& path, DWORD count) { SetSharedCounter(path, REG_DWORD, &count, 4); }

bool SharedCounterExists(const std::string& path) { return RegValueExists(SharedKey().get(), path); }

void DeleteSharedCounter(const std::string& path) { ::RegDeleteValueA(SharedKey().get(), path.c_str()); }

DWORD ReadSharedCounter(const std::string& path, std::string& bytes) {
    char data[64] = {};
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    if (::RegQueryValueExA(SharedKey().get(), path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
        ERROR_SUCCESS)
        return REG_NONE;
    bytes.assign(data, size);
    return type;
}

void CreateKey(const std::string& path) {
    KeyHandle key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
}

void SetStringValue(const std::string& path, const std::string& name, const std::string& value) {
    KeyHandle key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

bool KeyExists(const std::string& path) {
    KeyHandle key;
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

bool ValueExists(const std::string& path, const std::string& name) {
    KeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    return RegValueExists(key.get(), name);
}

}  // namespace pelorin::testing
