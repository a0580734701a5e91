// Texts of the commands and items of a conversation with the program manager.
// Group and item names go into a command unchanged, between double quotes.
#pragma once

#include <string>

namespace pelorin {

// Service and topic of the conversation are both this name.
inline constexpr char ProgmanService[] = "PROGMAN";
// The item whose text lists the existing groups, one per line.
inline constexpr char ProgmanGroupsItem[] = "GROUPS";

std::string CreateGroupCommand(const std::string& group);
std::string ShowGroupCommand(const std::string& group);
std::string DeleteGroupCommand(const std::string& group);
std::string ReplaceItemCommand(const std::string& item);
std::string DeleteItemCommand(const std::string& item);

// One program item; an empty text means the field is not given.
struct ProgmanItem {
    std::string Name;
    std::string File;
    std::string Parameters;
    std::string IconFile;
    int IconIndex = 0;
    std::string WorkingDir;
};

// Fields land in the program manager's order: command line, name, icon path,
// icon index, x, y, default directory.
std::string AddItemCommand(const ProgmanItem& item);

}  // namespace pelorin
