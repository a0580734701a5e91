// --list: one line per file entry of a description (destination, sizes, ratio, version,
// time, copy mode and flags) with totals, or the same as tab-separated raw numbers.
#pragma once

#include <iosfwd>

#include "setup/Struct.h"

namespace pelorin {

enum class ListFormat { Text, Tsv };

// Text: aligned columns, a header and a totals line. Tsv: a header line and one line per
// entry, no totals; texts have their tabs and other control characters written as \xNN.
void WriteListing(const SetupData& data, ListFormat format, std::ostream& out);

}  // namespace pelorin
