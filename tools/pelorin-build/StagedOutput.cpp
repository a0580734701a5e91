// Stages files as ".NAME.partial" beside their final place; on failure removes the
// staged files and any folder that it created itself.
#include "tools/pelorin-build/StagedOutput.h"

#include <filesystem>

#include "core/MoveIntoPlace.h"
#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

namespace fs = std::filesystem;

StagedOutput::StagedOutput(const std::string& dir) : dir_(dir) {
    std::error_code error;
    std::vector<fs::path> missing;
    for (fs::path p = fs::absolute(dir, error); !p.empty() && !fs::exists(p, error); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, error) && !fs::is_directory(*it)) {
            Discard();
            throw BuildError(dir, 0, "", "cannot create the output folder: " + error.message());
        }
        createdDirs_.push_back(it->string());
    }
    if (!fs::is_directory(dir, error)) throw BuildError(dir, 0, "", "the output path is not a folder");
}

StagedOutput::~StagedOutput() {
    if (!committed_) Discard();
}

std::string StagedOutput::Stage(const std::string& finalName) {
    const fs::path base(dir_);
    const std::string temporary = (base / ("." + finalName + ".partial")).string();
    files_.emplace_back(temporary, (base / finalName).string());
    return temporary;
}

void StagedOutput::Commit() {
    for (const auto& [temporary, final] : files_) {
        const std::error_code error = MoveIntoPlace(temporary, final);
        if (error) throw BuildError(final, 0, "", "cannot move the finished file into place: " + error.message());
    }
    committed_ = true;
}

void StagedOutput::Discard() noexcept {
    std::error_code error;
    for (const auto& file : files_) fs::remove(file.first, error);
    for (auto it = createdDirs_.rbegin(); it != createdDirs_.rend(); ++it) fs::remove(*it, error);
}

}  // namespace pelorin
