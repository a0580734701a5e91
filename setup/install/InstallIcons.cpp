// CreateIcons in its two modes. The program-manager conversation and the TDDE object are
// released on every way out; the shell is told about the folder at the end in every case.
#include "setup/install/InstallIcons.h"

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <memory>
#include <vector>

#include "core/TextFormat.h"
#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/CmnFunc2.h"
#include "setup/Globals.h"
#include "setup/install/DDEInt.h"
#include "setup/install/DdeHandles.h"
#include "setup/install/InstallUninstall.h"
#include "setup/install/ProgmanCommands.h"

namespace pelorin {

namespace {

// One program item, already expanded.
struct TItem {
    std::string Name, File, Parameters, IconFile, WorkDir;
    int Index = 0;
};

std::vector<wchar_t> Wide(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    return wide;
}

// The items of the group, in order: the IconEntry list, then the uninstall item.
std::vector<TItem> ItemsOf(const TIconsStep& step, const std::string& logPath) {
    std::vector<TItem> items;
    for (const IconEntry& icon : step.Icons)
        items.push_back({ExpandConstants(icon.IconName), ExpandConstants(icon.Filename),
                         ExpandConstants(icon.Parameters), ExpandConstants(icon.IconFilename),
                         ExpandConstants(icon.WorkingDir), icon.IconIndex});
    if (step.CreateUninstall)
        items.push_back({FormatText("Remove %s", step.AppName), UninstallerPath(), "\"" + logPath + "\" /U", "",
                         Globals().WinDir, 0});
    return items;
}

void CreateProgmanItems(const TIconsStep& step, const std::vector<TItem>& items, TInstallContext& context) {
    const TDDE dde;
    const DdeStringHandle service(dde, dde.CreateStringHandle(ProgmanService));
    const DdeConversation conversation(dde, dde.Connect(service.get(), service.get()));
    context.Ahead(ukProgman, {step.Group, ""}, 0);
    dde.Execute(conversation.get(), CreateGroupCommand(step.Group), false);
    dde.Execute(conversation.get(), ShowGroupCommand(step.Group), false);
    context.Changes.AddChange(ukProgman, {step.Group, ""}, 0);
    for (const TItem& item : items) {
        context.Ahead(ukProgman, {step.Group, item.Name}, 0);
        dde.Execute(conversation.get(), ReplaceItemCommand(item.Name), true);
        const ProgmanItem command{item.Name, item.File, item.Parameters, item.IconFile, item.Index, item.WorkDir};
        dde.Execute(conversation.get(), AddItemCommand(command), false);
        context.Changes.AddChange(ukProgman, {step.Group, item.Name}, 0);
        AdvanceProgress(context.Progress, StepProgress);
    }
}

// Tells the shell at the end of the step, also when an item failed.
class FolderUpdateNotice {
public:
    explicit FolderUpdateNotice(const std::string& folder) : folder_(folder) {}
    ~FolderUpdateNotice() { ::SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA | SHCNF_FLUSH, folder_.c_str(), nullptr); }
    FolderUpdateNotice(const FolderUpdateNotice&) = delete;
    FolderUpdateNotice& operator=(const FolderUpdateNotice&) = delete;

private:
    std::string folder_;
};

void CreateShellItems(const std::string& folder, const TIconsStep& step, const std::vector<TItem>& items,
                      TInstallContext& context) {
    const TDDE dde;  // created in both modes; its failure fails the step here too
    context.Ahead(ukShellNotify, {folder}, SHCNE_UPDATEDIR);
    context.Changes.AddChange(ukShellNotify, {folder}, SHCNE_UPDATEDIR);
    const std::string groupDir = AddBackslash(folder) + step.Group;
    context.Ahead(ukDirectory, {groupDir}, udNotifyShell);
    if (!DirExists(groupDir)) {
        if (!::CreateDirectoryA(groupDir.c_str(), nullptr))
            throw Exception(FormatText("Setup was unable to create the directory %s", groupDir));
        ::SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA, groupDir.c_str(), nullptr);
    }
    context.Changes.AddChange(ukDirectory, {groupDir}, udNotifyShell);

    const FolderUpdateNotice notice(folder);
    const ComInit com;
    for (const TItem& item : items) {
        const std::string link = groupDir + "\\" + item.Name + ".lnk";
        context.Ahead(ukFile, {link}, ufNotifyShell);
        CreateShellLink(link, item.Name, item.File, item.Parameters, item.WorkDir, item.IconFile, item.Index);
        ::SHChangeNotify(SHCNE_CREATE, SHCNF_PATHA, link.c_str(), nullptr);
        context.Changes.AddChange(ukFile, {link}, ufNotifyShell);
        AdvanceProgress(context.Progress, StepProgress);
    }
}

}  // namespace

void CreateShellLink(const std::string& link, const std::string& description, const std::string& target,
                     const std::string& arguments, const std::string& workDir, const std::string& iconFile, int index) {
    ComPtr<IShellLinkA> shellLink;
    if (FAILED(
            ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.putVoid())) ||
        !shellLink)
        throw Exception("Unable to create the shell link object");
    shellLink->SetPath(target.c_str());
    shellLink->SetArguments(arguments.c_str());
    if (!workDir.empty()) shellLink->SetWorkingDirectory(workDir.c_str());
    if (!iconFile.empty()) shellLink->SetIconLocation(iconFile.c_str(), index);
    shellLink->SetDescription(description.c_str());
    const ComPtr<IPersistFile> file = shellLink.as<IPersistFile>(IID_IPersistFile);
    if (!file) throw Exception("Unable to obtain the IPersistFile interface of the shell link");
    file->Save(Wide(link).data(), TRUE);
}

void CreateIcons(const TIconsStep& step, TInstallContext& context) {
    const std::string folder = GetProgramsFolder(step.Common, false);
    const std::vector<TItem> items = ItemsOf(step, context.LogPath);
    if (folder.empty())
        CreateProgmanItems(step, items, context);
    else
        CreateShellItems(folder, step, items, context);
}

}  // namespace pelorin
