// Pure text helpers of the setup program (with the path helpers): version texts, replacement,
// expansion of the directory constants and quoting for command lines.
#pragma once

#include <string>

#include "core/FilePath.h"

namespace pelorin {

// "%d.%s" of major and minor as "%.2d" with trailing "0" characters removed:
// (3, 10) -> "3.1", (4, 5) -> "4.05", (4, 0) -> "4.".
std::string VersionText(int major, int minor);

// Every occurrence of from replaced by to, left to right, never rescanning inserted
// text. An empty from changes nothing.
std::string StringReplaceAll(const std::string& text, const std::string& from, const std::string& to);

// Values of {src}, {app}, {win} and {sys}.
struct DirConstants {
    std::string Src;
    std::string App;
    std::string Win;
    std::string Sys;
};

// Expands "{src}\", "{app}\", "{win}\", "{sys}\" (with AddBackslash of the value),
// then "{src}", "{app}", "{win}", "{sys}".
std::string ExpandConstants(const std::string& text, const DirConstants& dirs);
// The same with the program-wide directory values (Globals).
std::string ExpandConstants(const std::string& text);

// Trims blanks and control characters; wraps the result in double quotes when it
// holds a blank and is not already quoted at both ends.
std::string AddQuotes(const std::string& text);

}  // namespace pelorin
