// Finds the item count in the program manager's description of a group: past the second
// double quote, then past the second comma after it. Never reads past the answer's end.
#include "setup/install/UndoProgmanText.h"

#include "core/Exception.h"

namespace pelorin {
namespace {

// The position just after the second `c` from `from`; npos when there is none.
std::size_t PastSecond(const std::string& text, char c, std::size_t from) {
    const std::size_t first = text.find(c, from);
    if (first == std::string::npos) return std::string::npos;
    const std::size_t second = text.find(c, first + 1);
    return second == std::string::npos ? std::string::npos : second + 1;
}

}  // namespace

bool ProgmanGroupIsEmpty(const std::string& answer) {
    const std::size_t afterName = PastSecond(answer, '"', 0);
    const std::size_t afterFile = afterName == std::string::npos ? afterName : PastSecond(answer, ',', afterName);
    if (afterFile == std::string::npos)
        throw Exception("An error occured while trying to request data from Progman using DDE.");
    return afterFile < answer.size() && answer[afterFile] == '0';
}

}  // namespace pelorin
