// InstallFile: puts one FileEntry of the setup description in place, with the version, time and
// read-only rules, replace-at-restart, self-registration, shared counting and undo records.
#pragma once

#include <string>

#include "setup/Struct.h"
#include "setup/install/InstallContext.h"

namespace pelorin {

// The name of the files archive beside the setup program.
inline constexpr char FilesArchiveName[] = "PELORIN.DAT";

// Installs entry, asking the user (Abort/Retry/Ignore) about every problem. Raises only the
// silent abort; every other error is handled inside.
void InstallFile(const FileEntry& entry, TInstallContext& context);

}  // namespace pelorin
