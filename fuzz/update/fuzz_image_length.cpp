// libFuzzer target of the image length behind which an update program's archive sits, and of
// the appended range that a certificate table may close: any bytes give a range within the
// file or a refusal, never a read outside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "update/ImageLength.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const std::uint64_t length = pelorin::ImageLength(data, size);
        if (length > size) std::abort();
        const pelorin::AppendedRange appended = pelorin::AppendedData(data, size);
        if (appended.start != length || appended.start > appended.end || appended.end > size) std::abort();
        const auto security = pelorin::FindSecurityEntry(data, size);
        if (security && security->at + 8 > size) std::abort();
    } catch (const pelorin::EBadImage&) {}
    return 0;
}
