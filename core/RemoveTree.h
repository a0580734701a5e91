// Removal of a folder with everything below it, read-only entries included, as far as it
// goes: what cannot be removed (a file still open elsewhere) is left while the rest goes.
#pragma once

#include <string>

namespace pelorin {

// Quiet when path is missing; never throws.
void RemoveTree(const std::string& path) noexcept;

}  // namespace pelorin
