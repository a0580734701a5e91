// ReplaceByStepAside: three renames and a delete, ordered so that every way out leaves either
// the old file or the new one under the target's name, never neither.
#include "platform/win/ReplaceAside.h"

#include <windows.h>

namespace pelorin {

bool ReplaceByStepAside(const std::string& from, const std::string& to) {
    const DWORD attributes = ::GetFileAttributesA(to.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ::MoveFileA(from.c_str(), to.c_str()) != 0;
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::string aside;
    for (int n = 0; n < 1000 && aside.empty(); ++n) {
        const std::string candidate = to + ".~" + std::to_string(n);
        if (::GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) aside = candidate;
    }
    if (aside.empty() || !::MoveFileA(to.c_str(), aside.c_str())) return false;
    if (!::MoveFileA(from.c_str(), to.c_str())) {
        ::MoveFileA(aside.c_str(), to.c_str());
        return false;
    }
    ::DeleteFileA(aside.c_str());
    return true;
}

}  // namespace pelorin
