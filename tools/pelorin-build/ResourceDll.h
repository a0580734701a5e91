// Writes a genuine resource-only Windows library (no code, no imports, no entry
// point) holding one raw-data resource, as PE32 for i386 or PE32+ for amd64.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/pelorin-build/Machine.h"

namespace pelorin {

struct ResourceDllContent {
    Machine machine = Machine::Amd64;
    std::uint32_t type = 10;  // RCDATA
    std::uint32_t id = 102;
    std::uint16_t language = 0;   // neutral
    std::uint32_t timeStamp = 0;  // the file header's and the resource directory's TimeDateStamp
    std::vector<std::uint8_t> data;
};

// The complete image file. Throws BuildError when the data is too large for an image.
std::vector<std::uint8_t> MakeResourceDll(const ResourceDllContent& content);

}  // namespace pelorin
