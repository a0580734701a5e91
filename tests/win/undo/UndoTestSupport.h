// Helpers of the replay tests: a prompt that answers from a script and remembers what it
// was asked, a private temporary folder, small file and registry shortcuts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "setup/install/Undo.h"

namespace pelorin::testing {

class ScriptedPrompt : public IUndoPrompt {
public:
    bool RemoveShared = true;
    std::vector<std::string> Errors;
    std::vector<std::string> SharedQuestions;

    void ShowError(const std::string& message) override { Errors.push_back(message); }
    bool ConfirmRemoveSharedFile(const std::string& path) override {
        SharedQuestions.push_back(path);
        return RemoveShared;
    }
};

// A fresh folder below the temporary folder, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteTextFile(const std::string& path, const std::string& text = "data");
bool FileExists(const std::string& path);
bool DirExistsNow(const std::string& path);

// Runs the replay with the prompt and collects what could not be undone.
struct ReplayResult {
    bool Ok = false;
    std::vector<UndoFailure> Failures;
};
ReplayResult Replay(TUndoChanges& changes, bool fullUninstall, IUndoPrompt& prompt,
                    const std::string& runningFile = std::string());

// The shared counter of a path under HKEY_LOCAL_MACHINE "SharedDLLs".
void SetSharedCounter(const std::string& path, DWORD type, const void* data, DWORD size);
void SetSharedCount(const std::string& path, DWORD count);
bool SharedCounterExists(const std::string& path);
void DeleteSharedCounter(const std::string& path);
// Type and raw bytes of the counter.
DWORD ReadSharedCounter(const std::string& path, std::string& bytes);

// Test keys live below HKEY_CURRENT_USER "Software\Pelorin Tests\Undo".
extern const char TestKeyRoot[];
void CreateKey(const std::string& path);
void SetStringValue(const std::string& path, const std::string& name, const std::string& value);
bool KeyExists(const std::string& path);
bool ValueExists(const std::string& path, const std::string& name);

}  // namespace pelorin::testing
