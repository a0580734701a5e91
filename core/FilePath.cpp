// Pure text handling of Windows paths: "\" and ":" end a folder part, "." starts the
// extension of the file name.
#include "core/FilePath.h"

namespace pelorin {

std::string AddBackslash(const std::string& path) {
    if (path.empty() || path.back() == '\\') return path;
    return path + '\\';
}

std::string RemoveBackslash(const std::string& path) {
    if (path.empty() || path.back() != '\\') return path;
    return path.substr(0, path.size() - 1);
}

std::string ExtractFilePath(const std::string& path) {
    const std::size_t last = path.find_last_of("\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string ExtractFileName(const std::string& path) {
    const std::size_t last = path.find_last_of("\\:");
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
    const std::size_t dot = path.find_last_of(".\\:");
    if (dot == std::string::npos || path[dot] != '.') return path + extension;
    return path.substr(0, dot) + extension;
}

}  // namespace pelorin
