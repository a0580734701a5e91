// Reading the setup description file into SetupData, with the hook that start-up
// runs on the header before the rest is read, and the failures it reports.
#pragma once

#include <functional>
#include <string>

#include "core/Exception.h"
#include "setup/Struct.h"

namespace pelorin {

// The file does not start with the magic.
class ESetupIncompatible : public Exception {
public:
    ESetupIncompatible()
        : Exception(
              "The Setup Wizard files are corrupted, or are incompatible with this version of Pelorin Wizard. Please correct the problem or contact your provider.") {
    }
};

// A block or record was rejected as corrupted.
class ESetupCorrupted : public Exception {
public:
    ESetupCorrupted() : Exception("The Setup Wizard files are corrupted. Please contact your provider.") {}
};

using SetupHeaderHook = std::function<void(const SetupHeader&)>;

// Reads the description at path into out and deletes the file, whatever happens.
// afterHeader (may be empty) runs right after the header block; its errors pass
// through unchanged. Raises ESetupIncompatible, ESetupCorrupted, EReadError (file
// missing or ending early); EZlibInternalError and std::bad_alloc pass through.
// out is assigned only on success.
void LoadSetupDescription(const std::string& path, SetupData& out, const SetupHeaderHook& afterHeader);

}  // namespace pelorin
