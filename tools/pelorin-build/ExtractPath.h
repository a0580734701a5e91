// Where --extract puts a file entry: its destination with {app}, {win}, {sys} and {src}
// turned into folders of those names, refused when it could leave the output folder.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

struct ExtractPath {
    std::vector<std::string> parts;  // folders and file name below the output folder
    std::string refusal;             // why the destination is refused; empty when it is not
};

// "\" and "/" both separate folders. Refused: an empty result, an absolute path, an empty,
// "." or ".." part, a part ending in "." or blank, holding a control character or one of
// < > : " | ? *, and the device names of Windows (CON, NUL, COM1, ... with any extension),
// so that a destination lands in the same place below the output folder on every system.
ExtractPath MapDestination(const std::string& destName);

}  // namespace pelorin
