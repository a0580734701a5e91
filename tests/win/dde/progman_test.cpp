// TDDE against Wine's own program manager: a group and its items are created, listed,
// shown and removed again, and the links the items became carry the fields sent.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <memory>

#include "setup/install/DdeHandles.h"
#include "setup/install/ProgmanCommands.h"
#include "tests/win/dde/ChildProcess.h"

namespace pelorin {
namespace {

using testing::ChildProcess;

std::string GroupName() { return "Pelorin DDE " + std::to_string(::GetCurrentProcessId()); }

std::string GroupFolder() {
    char programs[MAX_PATH] = {};
    ::SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\" + GroupName();
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct LinkFields {
    std::string Target, WorkingDir, IconFile;
    int IconIndex = -1;
};

LinkFields ReadLink(const std::string& path) {
    LinkFields fields;
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid())))
        return fields;
    const ComPtr<IPersistFile> file = link.as<IPersistFile>(IID_IPersistFile);
    const std::wstring widePath(path.begin(), path.end());
    if (!file || FAILED(file->Load(widePath.c_str(), STGM_READ))) return fields;
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    fields.Target = text;
    link->GetWorkingDirectory(text, MAX_PATH);
    fields.WorkingDir = text;
    link->GetIconLocation(text, MAX_PATH, &fields.IconIndex);
    fields.IconFile = text;
    return fields;
}

// A program in a folder whose name holds a blank, removed again when the test ends.
class ProgramWithBlank {
public:
    ProgramWithBlank() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "Pelorin Tool " + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(folder_.c_str(), nullptr);
        ::CopyFileA("C:\\windows\\notepad.exe", path().c_str(), FALSE);
    }
    ~ProgramWithBlank() {
        ::DeleteFileA(path().c_str());
        ::RemoveDirectoryA(folder_.c_str());
    }
    ProgramWithBlank(const ProgramWithBlank&) = delete;
    ProgramWithBlank& operator=(const ProgramWithBlank&) = delete;

    const std::string& folder() const { return folder_; }
    std::string path() const { return folder_ + "\\tool.exe"; }

private:
    std::string folder_;
};

// Wine opens a folder window for ShowGroup; the test closes the ones it caused.
BOOL CALLBACK CloseGroupWindow(HWND window, LPARAM) {
    char title[MAX_PATH] = {};
    ::GetWindowTextA(window, title, MAX_PATH);
    if (std::string(title).find(GroupName()) != std::string::npos) ::PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

class ProgramManager : public ::testing::Test {
protected:
    // Wine's default desktop usually serves the program manager already; otherwise
    // the test starts a desktop shell of its own and ends it afterwards.
    static void SetUpTestSuite() {
        if (testing::WaitForService(ProgmanService, ProgmanService, 3000)) return;
        shell_ = std::make_unique<ChildProcess>("explorer.exe /desktop=shell,1024x768");
        ASSERT_TRUE(testing::WaitForService(ProgmanService, ProgmanService, 30000)) << "PROGMAN did not answer";
    }
    static void TearDownTestSuite() {
        ::EnumWindows(CloseGroupWindow, 0);
        shell_.reset();
    }

    // The groups listed, asked in a conversation of its own as the group browser
    // does; on Wine a request must be the last transaction of its conversation.
    std::string Groups() const {
        const DdeConversation conversation(dde_, dde_.Connect(service_.get(), service_.get()));
        const DdeStringHandle item(dde_, dde_.CreateStringHandle(ProgmanGroupsItem));
        const DdeRequestData answer(dde_, dde_.Request(conversation.get(), item.get(), CF_TEXT));
        return TextOf(answer.get());
    }

    // The command's answer; a failure names the command.
    bool Execute(HCONV conversation, const std::string& command, bool tolerateNotProcessed) const {
        try {
            return dde_.Execute(conversation, command, tolerateNotProcessed);
        } catch (const EDDEError& e) {
            ADD_FAILURE() << command << ": " << e.what();
            return false;
        }
    }

    static std::unique_ptr<ChildProcess> shell_;
    const ComInit com_;
    const TDDE dde_;
    const DdeStringHandle service_{dde_, dde_.CreateStringHandle(ProgmanService)};
};

std::unique_ptr<ChildProcess> ProgramManager::shell_;

TEST_F(ProgramManager, GroupLivesFromCreationToRemoval) {
    const std::string group = GroupName();
    const std::string folder = GroupFolder();
    ProgmanItem plain;
    plain.Name = "Plain Tool";
    plain.File = "C:\\windows\\notepad.exe";
    // Wine's program manager takes no parameters and only programs that exist.
    const ProgramWithBlank program;
    ProgmanItem full;
    full.Name = "Full Tool";
    full.File = program.path();
    full.IconFile = program.path();
    full.IconIndex = 2;
    full.WorkingDir = program.folder();
    {
        const DdeConversation conversation(dde_, dde_.Connect(service_.get(), service_.get()));
        EXPECT_TRUE(Execute(conversation.get(), CreateGroupCommand(group), false));
        EXPECT_TRUE(Execute(conversation.get(), ShowGroupCommand(group), false));
        EXPECT_TRUE(Exists(folder));
        for (const ProgmanItem& item : {plain, full}) {
            // No item of that name yet: the replace is not processed, and that is tolerated.
            Execute(conversation.get(), ReplaceItemCommand(item.Name), true);
            EXPECT_TRUE(Execute(conversation.get(), AddItemCommand(item), false));
        }
        // Replacing an existing item, then adding it again.
        Execute(conversation.get(), ReplaceItemCommand(plain.Name), true);
        EXPECT_TRUE(Execute(conversation.get(), AddItemCommand(plain), false));
    }
    EXPECT_TRUE(Exists(folder + "\\Plain Tool.lnk"));
    const LinkFields link = ReadLink(folder + "\\Full Tool.lnk");
    EXPECT_EQ(full.File, link.Target);
    EXPECT_EQ(full.WorkingDir, link.WorkingDir);
    EXPECT_EQ(full.IconFile, link.IconFile);
    EXPECT_EQ(full.IconIndex, link.IconIndex);

    EXPECT_NE(std::string::npos, Groups().find(group + "\r\n"));

    {
        const DdeConversation conversation(dde_, dde_.Connect(service_.get(), service_.get()));
        EXPECT_TRUE(Execute(conversation.get(), ShowGroupCommand(group), true));
        EXPECT_TRUE(Execute(conversation.get(), DeleteItemCommand(full.Name), false));
        EXPECT_TRUE(Execute(conversation.get(), DeleteItemCommand(plain.Name), false));
        EXPECT_FALSE(Exists(folder + "\\Plain Tool.lnk"));
        EXPECT_TRUE(Execute(conversation.get(), DeleteGroupCommand(group), false));
        EXPECT_FALSE(Exists(folder));
        // What is gone cannot be deleted again; the rollback reports these.
        EXPECT_THROW(dde_.Execute(conversation.get(), DeleteItemCommand(plain.Name), false), EDDEError);
        EXPECT_THROW(dde_.Execute(conversation.get(), DeleteGroupCommand(group), false), EDDEError);
    }
    EXPECT_EQ(std::string::npos, Groups().find(group + "\r\n"));
}

}  // namespace
}  // namespace pelorin
