// libFuzzer target: the explode decoder on arbitrary data.
#include "fuzz/unzip-methods/FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::uint16_t kMethods[] = {6};
    return pelorin::fuzz::RunDecoder(data, size, kMethods, sizeof kMethods / sizeof kMethods[0]);
}
