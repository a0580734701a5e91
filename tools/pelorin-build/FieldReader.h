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

    bool has(const std::string& key) const;
    // Line of the key, or of the block header when the key is absent.
    int lineOf(const std::string& key) const;

    // A length-prefixed text: at most capacity characters, never cut.
    std::string text(const std::string& key, std::size_t capacity, bool required = false);
    // A text that the setup program expands: as text(), and the directory constants
    // must be written in lower case ("{APP}" would be left unexpanded).
    std::string path(const std::string& key, std::size_t capacity, bool required = false);
    std::int32_t int32(const std::string& key, std::int32_t fallback);
    bool yesNo(const std::string& key, bool fallback);

    template <typename T>
    T choice(const std::string& key, const Keywords<T>& words, T fallback);
    // Names separated by commas and/or blanks, or'ed together.
    std::uint8_t flags(const std::string& key, const Keywords<std::uint8_t>& words);

    // Throws for the first key of the block that nothing asked for.
    void rejectUnknownKeys() const;

    [[noreturn]] void fail(const std::string& key, const std::string& problem) const;

    const std::string& fileName() const { return fileName_; }
    const ProjectBlock& block() const { return block_; }

private:
    const ProjectLine* find(const std::string& key) const;
    const ProjectLine* take(const std::string& key, bool required);
    template <typename T>
    std::optional<T> lookup(const std::string& word, const Keywords<T>& words) const;
    template <typename T>
    std::string listOf(const Keywords<T>& words) const;

    std::string fileName_;
    const ProjectBlock& block_;
    std::vector<std::string> asked_;
};

// Parses a whole decimal (optionally signed) or "0x" hexadecimal number; empty when
// the text is no number or lies outside [low, high].
std::optional<std::int64_t> parseNumber(const std::string& text, std::int64_t low, std::int64_t high);

template <typename T>
std::optional<T> FieldReader::lookup(const std::string& word, const Keywords<T>& words) const {
    for (const auto& [name, value] : words) {
        if (LowerCaseAscii(word) == name) return value;
    }
    return std::nullopt;
}

template <typename T>
std::string FieldReader::listOf(const Keywords<T>& words) const {
    std::string list;
    for (const auto& entry : words) list += (list.empty() ? "" : ", ") + std::string(entry.first);
    return list;
}

template <typename T>
T FieldReader::choice(const std::string& key, const Keywords<T>& words, T fallback) {
    const ProjectLine* line = take(key, false);
    if (line == nullptr) return fallback;
    const auto value = lookup(line->value, words);
    if (!value) fail(key, "\"" + line->value + "\" is not one of: " + listOf(words));
    return *value;
}

}  // namespace pelorin
