// The messages of the program's "S_STREAM" string table, their numbers, the table's bytes
// as the program carries them, and the lookup that the stream errors use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelorin {

constexpr int kSeekError = 1;
constexpr int kInvalidSeekOrigin = 2;
constexpr int kPutbackOverflow = 3;
constexpr int kCannotFindResource = 4;
constexpr int kCannotAccessResource = 5;
constexpr int kSeekPastEndOfResource = 6;
constexpr int kCannotWriteResource = 7;

struct StringTableRecord {
    std::uint16_t number;
    const char* text;
};

extern const char* const kStreamTableName;  // "S_STREAM"

// Records of 16-bit number, 8-bit length and text, ended by number 0.
std::vector<std::uint8_t> EncodeStringTable(const std::vector<StringTableRecord>& records);
// The "S_STREAM" table, encoded.
const std::vector<std::uint8_t>& BuiltinStreamTable();

// The message from the program's "S_STREAM" resource; its built-in text when the program
// carries no such resource.
std::string StreamMessage(int number);

}  // namespace pelorin
