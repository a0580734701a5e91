// Puts a finished file, written under a temporary name, in place of its final name, replacing
// what stood there; the one step that makes a staged output visible.
#pragma once

#include <string>
#include <system_error>

namespace pelorin {

// Renames temporary to final, over an existing final file too; the error when it failed.
std::error_code MoveIntoPlace(const std::string& temporary, const std::string& final) noexcept;

}  // namespace pelorin
