// Helpers of the unzip tests: paths, files and the scripted message boxes.
// Temporary folders are made unique and removed with read-only files in them.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

namespace pelorin::test {

std::string Join(const std::string& folder, const std::string& name) {
    std::string relative = name;
    for (char& c : relative) {
        if (c == '/' || c == '\\') c = kSep;
    }
    return folder + kSep + relative;
}

std::string ToolArchive(const std::string& name) {
    const char* binary = std::getenv("PELORIN_BINARY_DIR");
    if (!binary) ADD_FAILURE() << "PELORIN_BINARY_DIR is not set: run the tests through ctest";
    return Join(Join(binary ? binary : ".", "tests/unzip-archives"), name);
}

std::string SourceFile(const std::string& relative) { return ToolArchive(Join("src", relative)); }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(fs::path(path), ignored);
}

TempDir::TempDir() {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path dir = fs::temp_directory_path() /
                         ("pelorin-unzip-" + std::to_string(stamp) + "-" + std::to_string(std::random_device()()));
    fs::create_directories(dir);
    path_ = dir.string();
}

TempDir::~TempDir() {
    std::error_code ignored;
    for (const auto& item : fs::recursive_directory_iterator(path_, ignored)) {
        fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& relative) const { return Join(path_, relative); }

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
