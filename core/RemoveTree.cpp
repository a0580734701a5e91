// RemoveTree: write permission is given back to each entry before it goes, since a
// read-only file cannot be deleted on Windows and a read-only folder cannot be emptied.
#include "core/RemoveTree.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace pelorin {

namespace fs = std::filesystem;

namespace {

void RemoveEntry(const fs::path& path) {
    std::error_code ignored;
    const fs::file_status status = fs::symlink_status(path, ignored);
    if (!fs::exists(status)) return;
    if (!fs::is_symlink(status)) fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    if (fs::is_directory(status)) {
        // The names first: the folder is not read while it shrinks.
        std::vector<fs::path> children;
        for (fs::directory_iterator it(path, ignored), end; !ignored && it != end; it.increment(ignored))
            children.push_back(it->path());
        for (const fs::path& child : children) RemoveEntry(child);
    }
    fs::remove(path, ignored);
}

}  // namespace

void RemoveTree(const std::string& path) noexcept {
    try {
        RemoveEntry(fs::path(path));
    } catch (...) {
        // Only allocation can throw here; the tree stays as far as it was removed.
    }
}

}  // namespace pelorin
