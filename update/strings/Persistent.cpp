// The default assignment refuses: only classes that know each other copy their data.
// Its error names both classes.
#include "update/strings/Persistent.h"

#include "update/strings/StringsErrors.h"

namespace pelorin {

void TPersistent::Assign(const TPersistent& source) {
    throw EConvertError("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

}  // namespace pelorin
