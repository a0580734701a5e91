// Reads a project file into a Project: every section and key is checked, source
// files must exist, and each complaint names file, line and field.
#pragma once

#include <string>

#include "tools/pelorin-build/Project.h"

namespace pelorin {

// Source and license paths are taken relative to the project file's folder.
Project ParseProjectFile(const std::string& path);

// The same for text already in memory; baseDir resolves relative paths.
Project ParseProjectText(const std::string& text, const std::string& fileName, const std::string& baseDir);

}  // namespace pelorin
