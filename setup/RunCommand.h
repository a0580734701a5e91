// The texts of starting a RunEntry program: its command line and the message shown when the
// program cannot be started. Portable; the starting itself is in RunPrograms.
#pragma once

#include <string>

#include "setup/CmnFunc2.h"
#include "setup/Struct.h"

namespace pelorin {

// AddQuotes(ExpandConstants(Filename)) + " " + ExpandConstants(Parameters); the blank is there
// even when there are no parameters.
std::string RunEntryCommandLine(const RunEntry& entry, const DirConstants& dirs);

// "Unable to execute file:\r\n<command line>\r\n\r\nError #<code>: <text>".
std::string UnableToExecuteText(const std::string& commandLine, unsigned long code, const std::string& systemText);

// The platform's message text without the line break (and blanks) at its end.
std::string TrimSystemMessage(const std::string& text);

}  // namespace pelorin
