// The packer: the image of an update program (without anything appended to it) followed by
// a checked zip archive, written under a temporary name and moved into place when complete.
#pragma once

#include <optional>
#include <string>

#include "tools/pelorin-pack/ArchiveCheck.h"
#include "tools/signing/SignCommand.h"

namespace pelorin {

// Raised for any input or output that stops the packing; the message names the file.
class EPackError : public Exception {
public:
    using Exception::Exception;
};

struct PackResult {
    std::uint64_t imageLength = 0;
    std::uint64_t replacedBytes = 0;   // what was appended to the program before
    std::uint32_t paddingBytes = 0;    // NUL bytes added to the archive's comment
    bool signatureCleared = false;     // the program was signed; the output no longer claims it
    std::uint64_t signatureBytes = 0;  // what the signing command added behind the archive
    ArchiveSummary archive;
};

// Lengthens the comment of the archive's end record by 1 to 7 NUL bytes when needed, so that
// the archive placed at offset ends at a multiple of 8 bytes, where a certificate table can
// follow without padding of its own. Returns the bytes added; an archive without an end
// record is left as it is. Raises EPackError when its comment cannot grow.
std::uint32_t PadArchive(std::vector<std::uint8_t>& archive, std::uint64_t offset);

// An archive already appended to program, and a signature of program, are dropped; the
// output is signed with sign when given. output may name program itself.
PackResult Pack(const std::string& program, const std::string& archive, const std::string& output,
                const std::optional<SignCommand>& sign = std::nullopt);

}  // namespace pelorin
