// Reads and builds the zero-separated string list carried by an undo record.
// Reads stay inside the data block whatever it holds.
#include "setup/install/UndoRecord.h"

namespace pelorin {

std::string UndoRecord::String(std::size_t index) const {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t zero = data.find('\0', start);
        if (zero == std::string::npos) return std::string();
        start = zero + 1;
    }
    if (start >= data.size()) return std::string();
    const std::size_t end = data.find('\0', start);
    return data.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string JoinUndoStrings(const std::vector<std::string>& strings) {
    std::string joined;
    for (const std::string& s : strings) {
        joined += s;
        joined += '\0';
    }
    return joined;
}

}  // namespace pelorin
