// A stream read piece by piece for core's walk of the program's headers: each record is read
// where the walk asks for it, so the program need not be held in memory.
#include "update/unzip/ProgramImage.h"

#include "core/ProgramImage.h"

namespace pelorin {

std::optional<std::uint64_t> ProgramImageEnd(TStream& file) {
    const auto read = [&file](std::uint64_t offset, std::uint8_t* buffer, std::size_t count) {
        file.Seek(static_cast<std::int64_t>(offset), soFromBeginning);
        return file.Read(buffer, count) == count;
    };
    const ImageEnd image = WalkImageEnd(static_cast<std::uint64_t>(file.Size()), read);
    if (image.problem != ImageProblem::None) return std::nullopt;
    return image.end;
}

}  // namespace pelorin
