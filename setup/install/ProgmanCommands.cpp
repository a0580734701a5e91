// Builds the program-manager command texts: group commands, item commands and AddItem
// with its command line, icon and working-directory fields.
#include "setup/install/ProgmanCommands.h"

namespace pelorin {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A path for a command line: trimmed of blanks and control characters, and put in
// double quotes when it holds a blank and is not quoted already.
std::string AddQuotes(const std::string& text) {
    std::string::size_type first = 0;
    std::string::size_type last = text.size();
    while (first < last && IsBlankOrControl(text[first])) ++first;
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    const std::string trimmed = text.substr(first, last - first);
    const bool quoted = trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"';
    if (quoted || trimmed.find(' ') == std::string::npos) return trimmed;
    return Quoted(trimmed);
}

}  // namespace

std::string CreateGroupCommand(const std::string& group) { return "[CreateGroup(" + Quoted(group) + ")]"; }

std::string ShowGroupCommand(const std::string& group) { return "[ShowGroup(" + Quoted(group) + ",1)]"; }

std::string DeleteGroupCommand(const std::string& group) { return "[DeleteGroup(" + Quoted(group) + ")]"; }

std::string ReplaceItemCommand(const std::string& item) { return "[ReplaceItem(" + Quoted(item) + ")]"; }

std::string DeleteItemCommand(const std::string& item) { return "[DeleteItem(" + Quoted(item) + ")]"; }

std::string AddItemCommand(const ProgmanItem& item) {
    std::string command = "[AddItem(" + AddQuotes(item.File);
    if (!item.Parameters.empty()) command += " " + item.Parameters;
    command += "," + Quoted(item.Name);
    // The icon file is not quoted; without one, icon path and index stay empty.
    if (!item.IconFile.empty())
        command += "," + item.IconFile + "," + std::to_string(item.IconIndex);
    else
        command += ",,";
    // Three more commas close the icon index and leave x and y empty.
    if (!item.WorkingDir.empty()) command += ",,," + AddQuotes(item.WorkingDir);
    return command + ")]";
}

}  // namespace pelorin
