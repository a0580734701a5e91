// The fixture of the DoInstall tests: a private folder tree and program-menu folder, a setup
// description filled in code, scripted answers, and a snapshot of everything an installation
// may touch (files, uninstall keys, shared counters, the test registry key, the program folder).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/Globals.h"
#include "setup/install/InstallEngine.h"
#include "setup/install/UndoChanges.h"
#include "tests/win/install-file/InstallTestSupport.h"

namespace pelorin::testing {

// Registry key below HKEY_CURRENT_USER that the registry-entry tests write to.
inline constexpr char TestRegKey[] = "Software\\Pelorin Tests\\Install";

// A registry entry below HKEY_CURRENT_USER (or root) as the description would carry it.
RegistryEntry RegEntry(const std::string& subKey, const std::string& name, const std::string& data, std::uint8_t type,
                       std::uint8_t flags, std::uint32_t root = 0x80000001);

// Points the current user's "Programs" shell folder somewhere else for one test.
class ProgramsFolderOverride {
public:
    explicit ProgramsFolderOverride(const std::string& folder);
    ~ProgramsFolderOverride();
    ProgramsFolderOverride(const ProgramsFolderOverride&) = delete;
    ProgramsFolderOverride& operator=(const ProgramsFolderOverride&) = delete;

private:
    bool had_ = false;
    std::string old_;
};

// Remembers the rollback's reports instead of showing boxes.
class RecordingUndoPrompt : public IUndoPrompt {
public:
    std::vector<std::string> Errors;
    void ShowError(const std::string& message) override { Errors.push_back(message); }
    bool ConfirmRemoveSharedFile(const std::string&) override { return true; }
};

class EngineFixture : public InstallRig {
protected:
    void SetUp() override;
    void TearDown() override;

    // Fills the header counts and IconsStep from the lists, writes the archive and runs.
    bool RunEngine(bool writeArchive = true);
    FileEntry AddFile(const std::string& data, const std::string& dest, std::uint8_t flags = 0);
    std::string Snapshot() const;
    // The snapshot before a run: the archive is written first, as the run will write it.
    std::string Before() {
        archive.Write();
        return Snapshot();
    }
    std::string ProgramsDir() const { return root / "programs"; }

    SetupData& Desc() { return Globals().Setup; }

    RecordingUndoPrompt undoPrompt;
    std::string appVerName;

private:
    std::unique_ptr<ProgramsFolderOverride> programs_;
};

}  // namespace pelorin::testing
