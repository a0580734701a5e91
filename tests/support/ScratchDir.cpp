// Scratch folders with names nobody else has; their removal is core's, which takes
// read-only entries too.
#include "tests/support/ScratchDir.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

#include "tests/support/TestFiles.h"

namespace pelorin::testing {

namespace fs = std::filesystem;

namespace {

bool IsWithin(const fs::path& inner, const fs::path& outer) {
    auto o = outer.begin();
    for (auto i = inner.begin(); o != outer.end(); ++i, ++o)
        if (i == inner.end() || *i != *o) return false;
    return true;
}

}  // namespace

ScratchDir::ScratchDir(const std::string& stem) {
    std::random_device random;
    const fs::path temp = fs::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
        const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
        const fs::path dir = temp / (stem + "-" + std::to_string((stamp ^ random()) % 1000000007ull));
        std::error_code error;
        if (fs::create_directory(dir, error)) {
            path_ = dir.string();
            return;
        }
        if (error || attempt > 1000) throw std::runtime_error("cannot create scratch folder " + dir.string());
    }
}

ScratchDir::~ScratchDir() {
    // A test that went into the folder must not keep it from going.
    std::error_code ignored;
    const fs::path current = fs::current_path(ignored);
    if (!ignored && IsWithin(current, path_)) fs::current_path(fs::path(path_).root_path(), ignored);
    RemoveTree(path_);
}

std::string ScratchDir::operator/(const std::string& name) const { return JoinPath(path_, name); }

}  // namespace pelorin::testing
