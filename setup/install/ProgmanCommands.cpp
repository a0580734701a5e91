// Builds the program-manager command texts: group commands, item commands and AddItem
// with its command line, icon and working-directory fields.
#include "setup/install/ProgmanCommands.h"

#include "setup/CmnFunc2.h"

namespace pelorin {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

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
