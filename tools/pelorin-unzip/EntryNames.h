// How pelorin-unzip turns names between the component's form ("\" between folders)
// and the form users and archives know ("/").
#pragma once

#include <algorithm>
#include <string>

namespace pelorin {

inline std::string SlashName(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

inline std::string BackslashPattern(std::string pattern) {
    std::replace(pattern.begin(), pattern.end(), '/', '\\');
    return pattern;
}

}  // namespace pelorin
