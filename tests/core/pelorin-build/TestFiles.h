// Scratch folders and file helpers for the authoring tool's tests: each test works
// in a folder of its own that is removed again afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Path of name inside the folder.
    std::string operator/(const std::string& name) const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void writeText(const std::string& path, const std::string& text);
std::vector<std::uint8_t> readBytes(const std::string& path);
// Names of the entries of a folder, sorted; empty when it does not exist.
std::vector<std::string> listFolder(const std::string& path);

}  // namespace pelorin::test
