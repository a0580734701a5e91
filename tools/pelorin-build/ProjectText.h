// Lexical layer of a project file: "[Section]" headers opening blocks of
// "Key = Value" lines, with the line number of every item kept for error messages.
#pragma once

#include <string>
#include <vector>

namespace pelorin {

struct ProjectLine {
    std::string key;
    std::string value;
    int line = 0;
};

struct ProjectBlock {
    std::string section;  // as written, without brackets
    int line = 0;         // line of the header
    std::vector<ProjectLine> lines;
};

// Splits the text into blocks. Throws BuildError (file, line) for a line outside any
// block, a malformed header or key line, a key given twice in one block and a zero byte.
std::vector<ProjectBlock> SplitProjectText(const std::string& text, const std::string& fileName);

}  // namespace pelorin
