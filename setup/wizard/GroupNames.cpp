// SplitGroupNames: a name runs up to the next carriage return; the scan goes on two
// characters later (past the line feed) and ends when no carriage return is left.
#include "setup/wizard/GroupNames.h"

namespace pelorin {

std::vector<std::string> SplitGroupNames(const std::string& answer) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < answer.size()) {
        const std::size_t cr = answer.find('\r', start);
        const std::string name = answer.substr(start, cr == std::string::npos ? std::string::npos : cr - start);
        if (!name.empty()) names.push_back(name);
        if (cr == std::string::npos) break;
        start = cr + 2;
    }
    return names;
}

}  // namespace pelorin
