// The whole-file helpers through std::filesystem and file streams, the same in the native
// tree and under Windows.
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace pelorin::testing {

namespace fs = std::filesystem;

namespace {

void WriteAll(const std::string& path, const char* data, std::size_t size) {
    std::error_code ignored;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string relative = name;
    std::replace_if(
        relative.begin(), relative.end(), [](char c) { return c == '/' || c == '\\'; }, kPathSeparator);
    return folder + kPathSeparator + relative;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteAll(path, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void WriteText(const std::string& path, const std::string& text) { WriteAll(path, text.data(), text.size()); }

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return fs::is_regular_file(path, ignored);
}

bool DirExists(const std::string& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(path, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace pelorin::testing
