// Texts of the program-manager commands: names passed unchanged, and the AddItem
// fields with their quoting and empty places.
#include <gtest/gtest.h>

#include "setup/install/ProgmanCommands.h"

namespace pelorin {
namespace {

TEST(ProgmanCommands, NamesGoInUnchanged) {
    EXPECT_EQ("[CreateGroup(\"My \"App\")\")]", CreateGroupCommand("My \"App\")"));
    EXPECT_EQ("[ShowGroup(\"Tools (x)\",1)]", ShowGroupCommand("Tools (x)"));
    EXPECT_EQ("[DeleteGroup(\"Tools\")]", DeleteGroupCommand("Tools"));
    EXPECT_EQ("[ReplaceItem(\"Read me\")]", ReplaceItemCommand("Read me"));
    EXPECT_EQ("[DeleteItem(\"a,b)]\")]", DeleteItemCommand("a,b)]"));
}

TEST(ProgmanCommands, AddItemWithOnlyAProgram) {
    ProgmanItem item;
    item.Name = "Editor";
    item.File = "C:\\APP\\EDIT.EXE";
    EXPECT_EQ("[AddItem(C:\\APP\\EDIT.EXE,\"Editor\",,)]", AddItemCommand(item));
}

TEST(ProgmanCommands, AddItemQuotesProgramAndWorkingDirButNotIconFile) {
    ProgmanItem item;
    item.Name = "Remove My App";
    item.File = "C:\\Program Files\\My App\\app.exe";
    item.Parameters = "\"C:\\My App\\REMOVE.LOG\" /U";
    item.IconFile = "C:\\My App\\icons.dll";
    item.IconIndex = 3;
    item.WorkingDir = "C:\\My App";
    EXPECT_EQ(
        "[AddItem(\"C:\\Program Files\\My App\\app.exe\" \"C:\\My App\\REMOVE.LOG\" /U,"
        "\"Remove My App\",C:\\My App\\icons.dll,3,,,\"C:\\My App\")]",
        AddItemCommand(item));
}

TEST(ProgmanCommands, AddItemKeepsFieldPositionsWithoutIcon) {
    ProgmanItem item;
    item.Name = "Tool";
    item.File = "  C:\\TOOL.EXE\t";
    item.WorkingDir = "C:\\WINDOWS";
    item.IconIndex = 7;  // no icon file: the index is not written
    EXPECT_EQ("[AddItem(C:\\TOOL.EXE,\"Tool\",,,,,C:\\WINDOWS)]", AddItemCommand(item));
}

TEST(ProgmanCommands, AddItemDoesNotQuoteTwice) {
    ProgmanItem item;
    item.Name = "Tool";
    item.File = " \"C:\\My Tools\\t.exe\" ";
    item.IconFile = "C:\\T.ICO";
    item.IconIndex = -2;
    EXPECT_EQ("[AddItem(\"C:\\My Tools\\t.exe\",\"Tool\",C:\\T.ICO,-2)]", AddItemCommand(item));
}

}  // namespace
}  // namespace pelorin
