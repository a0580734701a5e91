// Fuzzes the tool's reader of Windows images: headers, sections, the resource tree
// and the version block. Damaged images must come back empty, never read outside.
#include <cstdint>
#include <optional>
#include <vector>

#include "tools/pelorin-build/PeImage.h"
#include "tools/pelorin-build/VersionInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    if (const auto image = pelorin::PeImage::Parse(bytes)) {
        // The lookups the tool makes (setup description, version) and a wildcard id.
        for (const auto& [type, id] : {std::pair<std::uint32_t, std::optional<std::uint32_t>>{10, 102},
                                       {16, 1},
                                       {16, std::nullopt},
                                       {3, std::nullopt}}) {
            const auto resource = image->Resource(type, id);
            if (resource && !resource->empty() && resource->front() == 0xA5 && resource->back() == 0x5A) {
                return 0;  // touches both ends of what was copied out
            }
        }
        static_cast<void>(image->MachineCode() + image->IsPe32Plus());
    }
    static_cast<void>(pelorin::ReadFileVersion(bytes));
    return 0;
}
