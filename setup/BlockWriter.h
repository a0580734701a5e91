// Writing side of the compressed record stream: blocks, whole setup descriptions and
// the zlib streams of PELORIN.DAT, in exactly the layout the setup program reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "setup/Struct.h"

namespace pelorin {

enum BlockStorage { bsCompressed, bsStored };

// One block: header (HeaderCheck, StoredLength, DataLength, DataCheck) and payload.
std::vector<std::uint8_t> EncodeBlock(const std::uint8_t* data, std::size_t size, BlockStorage storage = bsCompressed);

struct DescriptionOptions {
    BlockStorage Storage = bsCompressed;  // applied to every block
};

// The description file: magic, header block, license block, record blocks. The
// header's seven counts and LicenseSize are taken from the lists and the license,
// whatever the header holds. Raises ERecordEncodeError for a text above capacity.
std::vector<std::uint8_t> EncodeSetupDescription(const SetupData& data, const DescriptionOptions& options = {});
void WriteSetupDescription(const std::string& path, const SetupData& data, const DescriptionOptions& options = {});

// One zlib stream (window bits 15) of the given bytes, best compression.
std::vector<std::uint8_t> DeflateBytes(const std::uint8_t* data, std::size_t size);

struct DeflateResult {
    std::uint64_t UncompressedSize = 0;
    std::uint64_t CompressedSize = 0;
    std::uint32_t Adler32 = 1;  // of the uncompressed bytes
};

// Compresses everything in `in` into one zlib stream appended to `out`, streaming, at the
// zlib level given (1 fastest, 9 best). Raises EReadError / Exception on read or write failures.
DeflateResult DeflateStream(std::istream& in, std::ostream& out, int level = 9);

}  // namespace pelorin
