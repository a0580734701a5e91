// Reads the file version (the fixed block of the version resource) out of a
// Windows image without any Windows API, so the tool can stamp FileEntry versions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelorin {

struct FileVersion {
    std::uint32_t ms = 0;  // major << 16 | minor
    std::uint32_t ls = 0;  // release << 16 | build
};

// Empty when the bytes are no image or carry no readable version resource.
std::optional<FileVersion> ReadFileVersion(std::vector<std::uint8_t> imageBytes);

// Same for a file on disk; files that do not start like an image are not loaded.
std::optional<FileVersion> ReadFileVersionOf(const std::string& path);

}  // namespace pelorin
