// Scratch folders under the system's temporary folder with random names, and small
// whole-file read and write helpers.
#include "TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace pelorin::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device random;
    const fs::path dir = fs::temp_directory_path() / ("pelorin-build-test-" + std::to_string(random()));
    fs::create_directories(dir);
    path_ = dir.string();
}

TempDir::~TempDir() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::string TempDir::operator/(const std::string& name) const { return (fs::path(path_) / name).string(); }

void writeText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> listFolder(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    if (!fs::is_directory(path, error)) return names;
    for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace pelorin::test
