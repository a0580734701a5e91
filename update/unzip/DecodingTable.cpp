// Building the two-level decoding tables from code lengths, with the space
// check that keeps every table inside its fixed storage.
#include "update/unzip/DecodingTable.h"

namespace pelorin {

TableStatus BuildDecodingTable(const std::uint8_t* lengths, unsigned symbolCount, unsigned rootBits, Completeness rule,
                               TableEntry* entries, std::size_t capacity, std::size_t* filled) {
    return BuildPrefixTable(
        lengths, symbolCount, rootBits, rule, entries, capacity, filled,
        [](TableEntry::Kind kind, unsigned value, unsigned bits) {
            return TableEntry{static_cast<std::uint16_t>(value), static_cast<std::uint8_t>(bits), kind};
        });
}

}  // namespace pelorin
