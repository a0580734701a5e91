// Fuzzes ReadBlock: the first two bytes choose the expected size, the rest is the file.
// Only the documented errors may come out, and never a write past the destination.
#include <cstdint>
#include <vector>

#include "setup/ZStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t expected = data[0] | std::size_t(data[1]) << 8;
    pelorin::MemoryByteSource file(data + 2, size - 2);
    std::vector<std::uint8_t> dest(expected);
    try {
        pelorin::ReadBlock(file, dest.data(), dest.size());
        pelorin::ReadBlock(file, expected);
    } catch (const pelorin::EZlibDataError&) {
    } catch (const pelorin::EReadError&) {}
    return 0;
}
