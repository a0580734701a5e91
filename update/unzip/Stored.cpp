// The stored method: chunks of input go straight to the output.
// Nothing is decoded, so nothing can be damaged beyond what the checksum finds.
#include "update/unzip/Stored.h"

#include <cstddef>

namespace pelorin {

void CopyStored(const DecodeJob&, DecodeInput& input, DecodeOutput& output, std::uint8_t* window) {
    static_assert(kDataChunkSize <= kWindowBufferSize, "a chunk exceeds the window");
    for (std::size_t n; (n = input.Fill(window, kDataChunkSize)) > 0;) output.Put(window, n);
}

}  // namespace pelorin
