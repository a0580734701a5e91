// Formats located build errors as "file:line: field: problem", the way compilers
// report, so editors can jump to the place.
#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

namespace {

std::string Locate(const std::string& file, int line, const std::string& field, const std::string& problem) {
    std::string text;
    if (!file.empty()) {
        text += file;
        if (line > 0) text += ":" + std::to_string(line);
        text += ": ";
    }
    if (!field.empty()) text += field + ": ";
    return text + problem;
}

}  // namespace

BuildError::BuildError(const std::string& file, int line, const std::string& field, const std::string& problem)
    : Exception(Locate(file, line, field, problem)), file_(file), line_(line), field_(field) {}

BuildError::BuildError(const std::string& problem) : Exception(problem) {}

}  // namespace pelorin
