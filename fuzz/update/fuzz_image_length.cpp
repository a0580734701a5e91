// libFuzzer target of the image length behind which an update program's archive sits:
// any bytes give a length within the file or a refusal, never a read outside them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "update/ImageLength.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        if (pelorin::ImageLength(data, size) > size) std::abort();
    } catch (const pelorin::EBadImage&) {}
    return 0;
}
