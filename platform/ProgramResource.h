// Custom resources of the running program (Windows builds): find, load and lock one by name and type.
// The native builds carry no such resources; their string tables are built into the code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelorin {

enum class TResourceStatus { rsFound, rsMissing, rsLoadFailed, rsLockFailed };

struct ProgramResourceData {
    TResourceStatus status = TResourceStatus::rsMissing;
    const std::uint8_t* data = nullptr;  // stays valid for the program's lifetime
    std::size_t size = 0;
};

// Types and names match without regard to case, as the resource system does.
ProgramResourceData FindProgramResource(const std::string& name, const std::string& type);

}  // namespace pelorin
