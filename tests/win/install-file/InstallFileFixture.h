// The fixture of the InstallFile tests: a private folder tree as {app}, {win} and {src}, an
// archive built per test, scripted answers and a recording progress display.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "setup/Globals.h"
#include "setup/install/InstallFile.h"
#include "setup/install/UndoChanges.h"
#include "tests/win/install-file/InstallTestSupport.h"

namespace pelorin::testing {

class InstallFileFixture : public InstallRig {
protected:
    void SetUp() override {
        UseFolders(root.Path());
        Globals().Setup.RestartRequired = false;
        dest = root / "app\\sub\\file.txt";
    }

    FileEntry Add(const std::string& data, const FileEntry& base) { return archive.Add(data, base); }
    void Run(const FileEntry& entry) {
        archive.Write();
        InstallFile(entry, context);
    }
    // The files of {app}\sub, to see that no temporary file is left behind.
    std::string SubListing() const { return TreeListing(root / "app\\sub"); }

    std::string dest;
};

}  // namespace pelorin::testing
