// A scratch folder for a test: a fresh folder below the system's temporary folder that goes
// away with everything in it, read-only files too, when the object does.
#pragma once

#include <string>

#include "core/RemoveTree.h"

namespace pelorin::testing {

class ScratchDir {
public:
    // The folder is named after stem, with a number that makes it new.
    explicit ScratchDir(const std::string& stem = "pelorin-test");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path of name inside the folder (see JoinPath).
    std::string operator/(const std::string& name) const;

private:
    std::string path_;
};

// Removes path and everything below it, read-only entries included, as far as it can;
// quiet when path is missing.
using pelorin::RemoveTree;

}  // namespace pelorin::testing
