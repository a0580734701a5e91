// Helpers of the unzip tests: the archives made by make-archives.sh, temporary folders,
// files as bytes, and services whose message boxes answer from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/SystemServices.h"

namespace pelorin::test {

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

std::string Join(const std::string& folder, const std::string& name);
// An archive made for the tests at test time (see make-archives.sh).
std::string ToolArchive(const std::string& name);
// A file of the folder the archives were made from.
std::string SourceFile(const std::string& relative);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool Exists(const std::string& path);

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& relative) const;

private:
    std::string path_;
};

// The real system, except that message boxes are recorded and answered from a script
// (mrNo or mrOK when the script has run out).
class ScriptedServices : public SystemServices {
public:
    TMsgResult ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) override;
    void ProcessMessages() override {
        ++messageRuns;
        if (onProcessMessages) onProcessMessages();
    }
    std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& filter,
                                              const std::string& initialDir) override;
    std::optional<std::string> BrowseForFolder(const std::string& initialDir) override;

    std::deque<TMsgResult> answers;
    std::vector<std::string> boxes;    // "caption|text"
    std::vector<std::string> dialogs;  // "title|initial folder"
    std::optional<std::string> fileAnswer;
    std::optional<std::string> folderAnswer;
    int messageRuns = 0;
    std::function<void()> onProcessMessages;
};

}  // namespace pelorin::test
