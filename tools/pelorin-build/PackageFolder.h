// A distribution folder as --list, --verify and --extract read it: the paths of its three
// files and the setup description taken from PELORIN.DLL.
#pragma once

#include <cstdint>
#include <string>

#include "setup/Struct.h"

namespace pelorin {

class PackageFolder {
public:
    // Throws BuildError when dir is not a folder.
    explicit PackageFolder(const std::string& dir);

    std::string Library() const;       // PELORIN.DLL
    std::string Data() const;          // PELORIN.DAT
    std::string SetupProgram() const;  // pelorin.exe, which a folder may lack

    // The description of PELORIN.DLL through the setup program's reader; throws BuildError.
    SetupData LoadDescription() const;

private:
    std::string dir_;
};

}  // namespace pelorin
