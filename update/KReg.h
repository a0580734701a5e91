// KReg: one-call reads and writes of string values in the registry for the update wizard,
// and the backslash helpers it uses on folder names (the shared ones of core/).
#pragma once

#include <string>

#include "core/Exception.h"
#include "core/FilePath.h"

namespace pelorin::kreg {

// Raised when a value cannot be written; the message names key, value name and text.
class EIRCannotWriteValue : public Exception {
public:
    using Exception::Exception;
};

// Root codes: only the low seven bits count; an unknown code means HKEY_CURRENT_USER.
enum : int {
    kClassesRoot = 0,
    kCurrentConfig = 1,
    kCurrentUser = 2,
    kDynData = 3,
    kLocalMachine = 4,
    kUsers = 5,
};

// Writes a string value, creating the key when it is missing; EIRCannotWriteValue on failure.
void WriteString(int root, const std::string& key, const std::string& name, const std::string& value);
// The stored string, or defaultText when the key or value is missing or not a string. Never fails.
std::string ReadString(int root, const std::string& key, const std::string& name, const std::string& defaultText);

// The backslash helpers of the folder rules are the shared ones (core/FilePath).
using pelorin::AddBackslash;
using pelorin::RemoveBackslash;

}  // namespace pelorin::kreg
