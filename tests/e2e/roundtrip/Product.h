// One product of the round trip: its project, its distribution built by pelorin-build.exe,
// its installation by pelorin.exe and its removal through the uninstall entry.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/driver/ProcessHarness.h"
#include "tests/e2e/roundtrip/SystemState.h"

namespace pelorin::e2e {

// What the product is called and where it lands.
struct Product {
    std::string name;  // AppName, DefaultDirName and DefaultGroupName
    std::string appDir;
    std::string dist;

    std::string verName() const { return name + " 1.0"; }
    std::string uninstallKey() const { return std::string(kUninstallKey) + "\\" + verName() + "_is1"; }
    std::string registryKey() const { return "Software\\Pelorin " + name; }
};

// Builds the product's distribution in work\<name> with the Windows build of the tool,
// which takes FERROW.EXE from its own folder. With appSize, app.exe is that many bytes of
// noise, so that its data flows in many blocks.
Product BuildProduct(const ScratchDir& work, const std::string& name, std::size_t appSize = 0);

// The same for a project of the records given (after a [Setup] for name with an uninstall
// entry) and the files beside it, each a path relative to the project and its bytes.
Product BuildProductFrom(const ScratchDir& work, const std::string& name, const std::string& records,
                         const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& files);

// The setup program without the wizard: it installs with the description's defaults,
// its temporary files going to temp. Any message box fails the test.
void Install(const Product& product, const std::string& temp);

// Runs the uninstall entry's own command and answers Yes to its questions, OK to the
// rest; the boxes as they came.
std::vector<driver::MessageBoxInfo> Uninstall(const Product& product, DWORD expectedExit = 0);

}  // namespace pelorin::e2e
