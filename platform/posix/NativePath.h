// Paths of the portable code use backslashes; the POSIX calls want slashes.
// Every POSIX call of this folder converts its path arguments first.
#pragma once

#include <string>

namespace pelorin {

inline std::string NativePath(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

}  // namespace pelorin
