// Typed access to the keys of one project block: texts checked against their
// field's capacity, numbers, switches, keyword choices and flag lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/TextCase.h"
#include "tools/pelorin-build/ProjectText.h"

namespace pelorin {

template <typename T>
using Keywords = std::vector<std::pair<const char*, T>>;

class FieldReader {
public:
    FieldReader(const std::string& fileName, const ProjectBlock& block);

    bool Has(const std::string& key) const;
    // Line of the key, or of the block header when the key is absent.
    int LineOf(const std::string& key) const;

    // A length-prefixed text: at most capacity characters, never cut.
    std::string Text(const std::string& key, std::size_t capacity, bool required = false);
    // A text that the setup program expands: as Text(), and the directory constants
    // must be written in lower case ("{APP}" would be left unexpanded).
    std::string Path(const std::string& key, std::size_t capacity, bool required = false);
    std::int32_t Int32(const std::string& key, std::int32_t fallback);
    bool YesNo(const std::string& key, bool fallback);

    template <typename T>
    T Choice(const std::string& key, const Keywords<T>& words, T fallback);
    // Names separated by commas and/or blanks, or'ed together.
    template <typename T>
    T Flags(const std::string& key, const Keywords<T>& words);

    // Throws for the first key of the block that nothing asked for.
    void RejectUnknownKeys() const;

    [[noreturn]] void Fail(const std::string& key, const std::string& problem) const;

    const std::string& FileName() const { return fileName_; }
    const ProjectBlock& Block() const { return block_; }

private:
    const ProjectLine* Find(const std::string& key) const;
    const ProjectLine* Take(const std::string& key, bool required);
    template <typename T>
    std::optional<T> Lookup(const std::string& word, const Keywords<T>& words) const;
    template <typename T>
    std::string ListOf(const Keywords<T>& words) const;

    std::string fileName_;
    const ProjectBlock& block_;
    std::vector<std::string> asked_;
};

// Parses a whole decimal (optionally signed) or "0x" hexadecimal number; empty when
// the text is no number or lies outside [low, high].
std::optional<std::int64_t> ParseNumber(const std::string& text, std::int64_t low, std::int64_t high);

template <typename T>
std::optional<T> FieldReader::Lookup(const std::string& word, const Keywords<T>& words) const {
    for (const auto& [name, value] : words) {
        if (LowerCaseAscii(word) == name) return value;
    }
    return std::nullopt;
}

template <typename T>
std::string FieldReader::ListOf(const Keywords<T>& words) const {
    std::string list;
    for (const auto& entry : words) list += (list.empty() ? "" : ", ") + std::string(entry.first);
    return list;
}

template <typename T>
T FieldReader::Choice(const std::string& key, const Keywords<T>& words, T fallback) {
    const ProjectLine* line = Take(key, false);
    if (line == nullptr) return fallback;
    const auto value = Lookup(line->value, words);
    if (!value) Fail(key, "\"" + line->value + "\" is not one of: " + ListOf(words));
    return *value;
}

template <typename T>
T FieldReader::Flags(const std::string& key, const Keywords<T>& words) {
    const ProjectLine* line = Take(key, false);
    if (line == nullptr) return 0;
    T result = 0;
    std::string word;
    for (const char c : line->value + " ") {
        if (c != ' ' && c != ',' && c != '\t') {
            word += c;
            continue;
        }
        if (word.empty()) continue;
        const auto bit = Lookup(word, words);
        if (!bit) Fail(key, "unknown flag \"" + word + "\"; known flags: " + ListOf(words));
        result = static_cast<T>(result | *bit);
        word.clear();
    }
    return result;
}

}  // namespace pelorin
