// Helpers of the unzip tests: the archives made by make-archives.sh, the shared scratch
// folders and file helpers, services whose message boxes answer from a script, and the rig.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/SystemServices.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "update/unzip/VCLUnZip.h"

namespace pelorin::test {

// An archive made for the tests at test time (see make-archives.sh).
std::string ToolArchive(const std::string& name);
// A file of the folder the archives were made from.
std::string SourceFile(const std::string& relative);
// A program of the tree whose code and data hold the zip record signatures (DecoyProgram.c).
std::string DecoyProgram();

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

// A component with scripted services that extracts into a private folder.
class ExtractionRig : public ::testing::Test {
protected:
    ExtractionRig() { zip.SetDestDir(out.Path()); }
    // Extracts every entry of an archive in memory (ReadDirectory or Extract still to call).
    void UseArchive(const std::vector<std::uint8_t>& archive);

    ScriptedServices os;
    TVCLUnZip zip{os};
    testing::ScratchDir out;
};

}  // namespace pelorin::test
