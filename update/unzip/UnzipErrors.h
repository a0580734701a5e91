// The errors of the zip component: an archive without its end record, data that end early,
// a request the user refused or cancelled, and output beyond an entry's uncompressed size.
#pragma once

#include "core/Exception.h"

namespace pelorin {

class EIncompleteZip : public Exception {
public:
    using Exception::Exception;
};

class EFatalUnzipError : public Exception {
public:
    using Exception::Exception;
};

class EUserCanceled : public Exception {
public:
    using Exception::Exception;
};

class EBiggerThanUncompressed : public Exception {
public:
    using Exception::Exception;
};

}  // namespace pelorin
