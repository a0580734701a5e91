// Splits project text into blocks: comments (";" or "#" first), blank lines, section
// headers, and key lines whose value may be quoted to keep outer blanks.
#include "tools/pelorin-build/ProjectText.h"

#include "core/TextCase.h"
#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsKeyCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// A value wrapped in double quotes keeps exactly what lies between them.
std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::vector<ProjectBlock> SplitProjectText(const std::string& text, const std::string& fileName) {
    std::vector<ProjectBlock> blocks;
    std::size_t start = 0;
    // A byte order mark of UTF-8 at the very start is skipped.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
    for (int lineNo = 1; start <= text.size(); ++lineNo) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.find('\0') != std::string::npos) throw BuildError(fileName, lineNo, "", "the line holds a zero byte");

        const std::string line = Trim(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;

        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3)
                throw BuildError(fileName, lineNo, "", "a section header is written as [Name]");
            blocks.push_back({Trim(line.substr(1, line.size() - 2)), lineNo, {}});
            continue;
        }

        const auto equals = line.find('=');
        if (equals == std::string::npos) throw BuildError(fileName, lineNo, "", "expected Key = Value");
        const std::string key = Trim(line.substr(0, equals));
        if (key.empty()) throw BuildError(fileName, lineNo, "", "the key before \"=\" is missing");
        for (const char c : key) {
            if (!IsKeyCharacter(c)) throw BuildError(fileName, lineNo, key, "not a valid key name");
        }
        if (blocks.empty()) throw BuildError(fileName, lineNo, key, "a key outside of any section; start with [Setup]");
        ProjectBlock& block = blocks.back();
        for (const ProjectLine& earlier : block.lines) {
            if (SameText(earlier.key, key))
                throw BuildError(fileName, lineNo, key,
                                 "given twice in one block (first on line " + std::to_string(earlier.line) + ")");
        }
        block.lines.push_back({key, Unquote(Trim(line.substr(equals + 1))), lineNo});
    }
    return blocks;
}

}  // namespace pelorin
