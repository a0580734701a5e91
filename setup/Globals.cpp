// The one program-wide instance of the setup program's values.
// Created on first use, so that no start-up order between files matters.
#include "setup/Globals.h"

namespace pelorin {

SetupGlobals& Globals() {
    static SetupGlobals values;
    return values;
}

TRunLog& SetupLog() {
    static TRunLog log;
    return log;
}

}  // namespace pelorin
