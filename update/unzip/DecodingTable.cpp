// The decoding tables of plain TableEntry items, as explode and the code-length code of
// inflate use them: BuildPrefixTable with entries that only name their symbol.
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
