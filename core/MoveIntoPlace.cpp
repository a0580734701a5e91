// Renames over the final name; where the system refuses to rename over an existing file, the
// old one is removed first.
#include "core/MoveIntoPlace.h"

#include <filesystem>

namespace pelorin {

namespace fs = std::filesystem;

std::error_code MoveIntoPlace(const std::string& temporary, const std::string& final) noexcept {
    std::error_code error;
    fs::rename(temporary, final, error);
    if (error && fs::exists(final)) {
        fs::remove(final, error);
        fs::rename(temporary, final, error);
    }
    return error;
}

}  // namespace pelorin
