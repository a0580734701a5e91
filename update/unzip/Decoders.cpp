// Dispatch from an entry's compression method to its decoder.
#include "update/unzip/Decoders.h"

#include "update/unzip/BitReader.h"
#include "update/unzip/Explode.h"
#include "update/unzip/Inflate.h"
#include "update/unzip/Stored.h"
#include "update/unzip/Unreduce.h"
#include "update/unzip/Unshrink.h"
#include "update/unzip/ZipMethod.h"

namespace pelorin {

bool IsDecoderMethod(std::uint16_t method) {
    switch (static_cast<ZipMethod>(method)) {
    case ZipMethod::Shrunk:
    case ZipMethod::Reduced1:
    case ZipMethod::Reduced2:
    case ZipMethod::Reduced3:
    case ZipMethod::Reduced4:
    case ZipMethod::Imploded:
    case ZipMethod::Deflated: return true;
    case ZipMethod::Stored: break;
    }
    return false;
}

Decoder FindDecoder(std::uint16_t method) {
    if (static_cast<ZipMethod>(method) == ZipMethod::Stored) return CopyStored;
    return IsDecoderMethod(method) ? DecodeEntry : nullptr;
}

void DecodeEntry(const DecodeJob& job, DecodeInput& input, DecodeOutput& output, std::uint8_t* window) {
    if (!IsDecoderMethod(job.method) || job.uncompressedSize == 0) return;
    BitReader in(input);
    const auto method = static_cast<ZipMethod>(job.method);
    switch (method) {
    case ZipMethod::Shrunk: Unshrink(in, output, job.uncompressedSize, window); break;
    case ZipMethod::Imploded: Explode(in, output, job.uncompressedSize, job.compressedSize, job.flags, window); break;
    case ZipMethod::Deflated: Inflate(in, output, job.uncompressedSize, window); break;
    default: {
        // Reduced with compression factor 1 to 4.
        const unsigned factor = job.method - static_cast<unsigned>(ZipMethod::Shrunk);
        Unreduce(in, output, job.uncompressedSize, factor, window);
        break;
    }
    }
}

}  // namespace pelorin
