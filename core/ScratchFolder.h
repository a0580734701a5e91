// A private scratch folder of a tool: a new empty folder below the system's temporary folder,
// removed with everything in it, read-only files too, when the owner goes.
#pragma once

#include <filesystem>
#include <string>

namespace pelorin {

class ScratchFolder {
public:
    // The folder is named stem + "-" + a random number; raises Exception when no new folder
    // can be made there.
    explicit ScratchFolder(const std::string& stem);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace pelorin
