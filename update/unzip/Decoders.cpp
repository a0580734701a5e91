// Dispatch from an entry's compression method to its decoder.
#include "update/unzip/Decoders.h"

#include "update/unzip/BitReader.h"
#include "update/unzip/Explode.h"
#include "update/unzip/Inflate.h"
#include "update/unzip/Unreduce.h"
#include "update/unzip/Unshrink.h"

namespace pelorin {

bool IsDecoderMethod(std::uint16_t method) { return (method >= 1 && method <= 6) || method == 8; }

void DecodeEntry(const DecodeJob& job, DecodeInput& input, DecodeOutput& output, std::uint8_t* window) {
    if (!IsDecoderMethod(job.method) || job.uncompressedSize == 0) {
        return;
    }
    BitReader in(input);
    switch (job.method) {
    case 1: Unshrink(in, output, job.uncompressedSize, window); break;
    case 6: Explode(in, output, job.uncompressedSize, job.compressedSize, job.flags, window); break;
    case 8: Inflate(in, output, job.uncompressedSize, window); break;
    default: Unreduce(in, output, job.uncompressedSize, job.method - 1u, window); break;
    }
}

}  // namespace pelorin
