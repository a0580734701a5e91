// Output files written under temporary names in the output folder and renamed to
// their final names only when everything succeeded; otherwise nothing is left behind.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pelorin {

class StagedOutput {
public:
    // Creates the folder (with parents) when it does not exist yet.
    explicit StagedOutput(const std::string& dir);
    ~StagedOutput();
    StagedOutput(const StagedOutput&) = delete;
    StagedOutput& operator=(const StagedOutput&) = delete;

    // The temporary path to write the file of this final name to.
    std::string Stage(const std::string& finalName);
    // Moves every staged file to its final name.
    void Commit();

private:
    void Discard() noexcept;

    std::string dir_;
    std::vector<std::string> createdDirs_;                    // deepest last
    std::vector<std::pair<std::string, std::string>> files_;  // temporary, final
    bool committed_ = false;
};

}  // namespace pelorin
