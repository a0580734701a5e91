// Helpers of the installation tests: a scripted prompt, a recording progress display, a files
// archive built on the fly, the rig they share, and snapshots of file trees and registry keys.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "setup/Struct.h"
#include "setup/install/InstallContext.h"
#include "setup/install/InstallPrompt.h"
#include "setup/install/UndoChanges.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestFiles.h"
#include "tests/support/win/SharedCounters.h"

namespace pelorin::testing {

// One question the engine asked.
struct Asked {
    std::string Text;
    std::string Caption;
    MsgBoxKind Kind = mbInformation;
    UINT Buttons = 0;
};

// Answers questions from a script, in order; an unscripted question fails the test.
class ScriptedInstallPrompt : public IInstallPrompt {
public:
    std::deque<int> Answers;
    std::vector<Asked> Questions;
    std::vector<std::string> Errors;  // standard error boxes

    int MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) override;
    void ShowError(const std::string& message) override { Errors.push_back(message); }
};

// Records what the engine shows; CancelAt confirms the cancel at the n-th check (1-based).
class RecordingProgress : public IInstallProgress {
public:
    std::vector<std::string> Statuses;
    std::vector<std::string> Filenames;
    std::int64_t Max = 0;
    std::int64_t Pos = 0;
    std::int64_t HighestPos = 0;
    int Checks = 0;
    int CancelAt = 0;  // 0: never
    std::function<void(int check)> OnCheck;

    void SetStatus(const std::string& text) override { Statuses.push_back(text); }
    void SetFilename(const std::string& text) override { Filenames.push_back(text); }
    void SetMax(std::int64_t max) override { Max = max; }
    std::int64_t Position() const override { return Pos; }
    void SetPosition(std::int64_t position) override;
    bool ProcessMessagesAndCheckCancel() override;
};

// Builds PELORIN.DAT in a folder: each Add stores "zel8" and one zlib stream.
class ArchiveBuilder {
public:
    explicit ArchiveBuilder(std::string folder) : folder_(std::move(folder)) {}
    // An entry for data with its offset, sizes and checksum filled in; the rest from base.
    FileEntry Add(const std::string& data, FileEntry base);
    // Writes the archive; returns its path.
    std::string Write() const;
    std::string& Bytes() { return bytes_; }

private:
    std::string folder_;
    std::string bytes_;
};

// What every installation test runs against: a private folder tree, scripted answers, a
// recording progress display, the undo list, and an archive built per test in {src}.
class InstallRig : public ::testing::Test {
protected:
    ScratchDir root;
    ScriptedInstallPrompt prompt;
    RecordingProgress progress;
    TUndoChanges changes;
    ArchiveBuilder archive{root / "src"};
    TInstallContext context{progress, prompt, changes, "", root / "src"};
};

FileEntry EntryFor(const std::string& dest, std::uint8_t flags = 0, std::uint8_t copyMode = cmNormal);

std::uint64_t LastWriteTime(const std::string& path);
void SetLastWriteTime(const std::string& path, std::uint64_t time);

// Every file and folder below root with sizes, one per line, sorted.
std::string TreeListing(const std::string& root);
// Every key and value below root\subKey, one per line, sorted; empty when the key is missing.
std::string RegistryExport(HKEY root, const std::string& subKey);

// Sets the program-wide folder values for a test: {app}, {win}, {sys}, {src} below root.
void UseFolders(const std::string& root);

// The small drive E: that small-drive.sh mounts (a tmpfs of 2 MB) for the full-disk cases;
// false when it is not there, as where mounting needs root.
bool SmallDriveMounted();
// Creates path and writes into it until the drive refuses more.
void FillDrive(const std::string& path);

// Runs this test program again with a gtest filter, with Wine told to report the given
// Windows version ("win95", "nt40") to that process; returns its exit code.
int RunSelfAs(const std::string& wineVersion, const std::string& filter);
// True inside such a run.
bool InEmulatedRun();

}  // namespace pelorin::testing
