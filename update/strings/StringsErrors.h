// The errors of the object lists, the class registry, the streams and the string resources.
// All belong to the program's one error family.
#pragma once

#include <string>

#include "core/Exception.h"

namespace pelorin {

class EListError : public Exception {
public:
    using Exception::Exception;
};

class EClassNotFound : public Exception {
public:
    using Exception::Exception;
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

}  // namespace pelorin
