// The program file read whole through the platform's file service, shared for reading and
// writing as a running program needs, at most 2 GB as the zip component's offsets allow; then
// cut to the range that AppendedData gives.
#include "update/AppendedArchive.h"

#include <cstddef>

#include "core/Exception.h"
#include "platform/OsFile.h"
#include "update/ImageLength.h"

namespace pelorin {

namespace {

constexpr std::int64_t kLargestProgram = 0x7FFFFFFF;

}  // namespace

std::vector<std::uint8_t> ReadAppendedArchive(const std::string& programPath) {
    OsFile file = OsFile::Open(programPath, TFileAccess::faRead, TFileShare::fsDenyNone);
    if (!file.IsOpen()) throw Exception("Cannot open the update program " + programPath + ".");
    const std::int64_t size = file.Size();
    if (size < 0 || size > kLargestProgram) throw Exception("Cannot read the update program " + programPath + ".");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (file.Read(bytes.data(), bytes.size()) != bytes.size())
        throw Exception("Cannot read the update program " + programPath + ".");
    // A signed program keeps its certificate table behind the archive.
    const AppendedRange archive = AppendedData(bytes.data(), bytes.size());
    if (archive.start >= archive.end) throw Exception("No update archive is appended to this program.");
    // Cut in place: the program's bytes are held once, even for a large archive.
    bytes.resize(static_cast<std::size_t>(archive.end));
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(archive.start));
    return bytes;
}

}  // namespace pelorin
