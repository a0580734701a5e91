// Converts and checks key values of one block; every complaint names the file,
// the key's line and the key, and texts longer than their field are refused.
#include "tools/pelorin-build/FieldReader.h"

#include <algorithm>

#include "tools/pelorin-build/BuildError.h"

namespace pelorin {

FieldReader::FieldReader(const std::string& fileName, const ProjectBlock& block) : fileName_(fileName), block_(block) {}

const ProjectLine* FieldReader::Find(const std::string& key) const {
    for (const ProjectLine& line : block_.lines) {
        if (SameText(line.key, key)) return &line;
    }
    return nullptr;
}

bool FieldReader::Has(const std::string& key) const { return Find(key) != nullptr; }

int FieldReader::LineOf(const std::string& key) const {
    const ProjectLine* line = Find(key);
    return line != nullptr ? line->line : block_.line;
}

void FieldReader::Fail(const std::string& key, const std::string& problem) const {
    throw BuildError(fileName_, LineOf(key), key, problem);
}

const ProjectLine* FieldReader::Take(const std::string& key, bool required) {
    asked_.push_back(LowerCaseAscii(key));
    const ProjectLine* line = Find(key);
    if (line == nullptr && required) Fail(key, "missing in [" + block_.section + "]; it is required");
    return line;
}

std::string FieldReader::Text(const std::string& key, std::size_t capacity, bool required) {
    const ProjectLine* line = Take(key, required);
    if (line == nullptr) return std::string();
    if (required && line->value.empty()) Fail(key, "must not be empty");
    if (line->value.size() > capacity)
        Fail(key, "text of " + std::to_string(line->value.size()) +
                      " characters is longer than the field's capacity of " + std::to_string(capacity));
    return line->value;
}

std::string FieldReader::Path(const std::string& key, std::size_t capacity, bool required) {
    std::string value = Text(key, capacity, required);
    static const char* const constants[] = {"{src}", "{app}", "{win}", "{sys}"};
    const std::string lowered = LowerCaseAscii(value);
    for (const char* constant : constants) {
        for (auto at = lowered.find(constant); at != std::string::npos; at = lowered.find(constant, at + 1)) {
            if (value.compare(at, 5, constant) != 0)
                Fail(key, "\"" + value.substr(at, 5) +
                              "\" is not expanded; constants are written in lower case: " + constant);
        }
    }
    return value;
}

std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t low, std::int64_t high) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    int base = 10;
    if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0) {
        base = 16;
        at += 2;
    }
    if (at >= text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = LowerAscii(text[at]);
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > (std::int64_t{1} << 33)) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < low || value > high) return std::nullopt;
    return value;
}

std::int32_t FieldReader::Int32(const std::string& key, std::int32_t fallback) {
    const ProjectLine* line = Take(key, false);
    if (line == nullptr) return fallback;
    const auto value = ParseNumber(line->value, INT32_MIN, INT32_MAX);
    if (!value) Fail(key, "\"" + line->value + "\" is not a whole number in the 32-bit range");
    return static_cast<std::int32_t>(*value);
}

bool FieldReader::YesNo(const std::string& key, bool fallback) {
    static const Keywords<bool> words = {{"yes", true}, {"no", false}, {"true", true}, {"false", false}};
    return Choice(key, words, fallback);
}

void FieldReader::RejectUnknownKeys() const {
    for (const ProjectLine& line : block_.lines) {
        if (std::find(asked_.begin(), asked_.end(), LowerCaseAscii(line.key)) == asked_.end())
            throw BuildError(fileName_, line.line, line.key, "unknown key in [" + block_.section + "]");
    }
}

}  // namespace pelorin
