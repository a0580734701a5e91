// Helpers of the unzip tests: the paths of the test archives and of the decoy program, and the
// scripted message boxes and the extraction rig. Scratch folders and whole files are tests/support's.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "update/strings/MemoryStream.h"

namespace pelorin::test {

void ExtractionRig::UseArchive(const std::vector<std::uint8_t>& archive) {
    zip.SetArchiveStream(std::make_unique<TMemoryStream>(archive));
    zip.SetDoAll(true);
}

std::string ToolArchive(const std::string& name) {
    const char* binary = std::getenv("PELORIN_BINARY_DIR");
    if (!binary) ADD_FAILURE() << "PELORIN_BINARY_DIR is not set: run the tests through ctest";
    return testing::JoinPath(testing::JoinPath(binary ? binary : ".", "tests/unzip-archives"), name);
}

std::string SourceFile(const std::string& relative) { return ToolArchive(testing::JoinPath("src", relative)); }

std::string DecoyProgram() {
    const char* binary = std::getenv("PELORIN_BINARY_DIR");
#ifdef _WIN32
    const char* name = "tests/unzip-decoy.exe";
#else
    const char* name = "tests/unzip-decoy";
#endif
    return testing::JoinPath(binary ? binary : ".", name);
}

TMsgResult ScriptedServices::ShowMessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons) {
    boxes.push_back(caption + "|" + text);
    if (answers.empty()) return buttons == TMsgButtons::mbYesNo ? TMsgResult::mrNo : TMsgResult::mrOK;
    const TMsgResult answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace pelorin::test

namespace pelorin::test {

std::optional<std::string> ScriptedServices::OpenFileDialog(const std::string& title, const std::string& /*filter*/,
                                                            const std::string& initialDir) {
    dialogs.push_back(title + "|" + initialDir);
    return fileAnswer;
}

std::optional<std::string> ScriptedServices::BrowseForFolder(const std::string& initialDir) {
    dialogs.push_back("folder|" + initialDir);
    return folderAnswer;
}

}  // namespace pelorin::test
