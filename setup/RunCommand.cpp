// RunEntry command lines and the failure message, built from the description's texts with the
// directory constants expanded.
#include "setup/RunCommand.h"

namespace pelorin {

std::string RunEntryCommandLine(const RunEntry& entry, const DirConstants& dirs) {
    return AddQuotes(ExpandConstants(entry.Filename, dirs)) + " " + ExpandConstants(entry.Parameters, dirs);
}

std::string UnableToExecuteText(const std::string& commandLine, unsigned long code, const std::string& systemText) {
    return "Unable to execute file:\r\n" + commandLine + "\r\n\r\nError #" + std::to_string(code) + ": " + systemText;
}

std::string TrimSystemMessage(const std::string& text) {
    std::size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return text.substr(0, end);
}

}  // namespace pelorin
