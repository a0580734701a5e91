// ScratchFolder: a hundred random names are tried before the temporary folder counts as
// unusable; removal takes read-only entries too and ignores what cannot be removed.
#include "core/ScratchFolder.h"

#include <random>
#include <system_error>

#include "core/Exception.h"
#include "core/RemoveTree.h"

namespace pelorin {

ScratchFolder::ScratchFolder(const std::string& stem) {
    std::random_device random;
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; !error && attempt < 100; ++attempt) {
        path_ = base / (stem + "-" + std::to_string(random()));
        if (std::filesystem::create_directory(path_, error)) return;
    }
    path_.clear();
    throw Exception("cannot create a temporary folder in " + base.string());
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) RemoveTree(path_.string());
}

}  // namespace pelorin
