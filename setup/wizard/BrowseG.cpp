// Tfbrowse: the group list, filled from the Start Menu's programs folder or from the
// program manager's "GROUPS" item, and the modal run of the dialog.
#include "setup/wizard/BrowseG.h"

#include "platform/win/Handles.h"
#include "setup/CmnFunc.h"
#include "setup/install/DdeHandles.h"
#include "setup/install/ProgmanCommands.h"
#include "setup/wizard/GroupIcon.h"
#include "setup/wizard/GroupNames.h"
#include "ui/ImageList.h"
#include "ui/StdCtrls.h"
#include "ui/TreeView.h"

namespace pelorin {

namespace {

constexpr int kGroupImage = 0;

using AddGroup = std::function<void(const std::string&)>;

// Every folder directly inside the programs folder (given with its trailing backslash).
void AddFolderGroups(const std::string& folder, const AddGroup& add) {
    WIN32_FIND_DATAA found{};
    const FindHandle search(::FindFirstFileA((folder + "*").c_str(), &found));
    if (!search) return;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && name != "." && name != "..") add(name);
    } while (::FindNextFileA(search.get(), &found));
}

// The groups the program manager lists. The owners give everything back in the order
// data, conversation, "GROUPS", "PROGMAN", client, also when a step fails.
void AddProgmanGroups(const AddGroup& add) {
    const TDDE dde;
    const DdeStringHandle progman(dde, dde.CreateStringHandle(ProgmanService));
    const DdeStringHandle groups(dde, dde.CreateStringHandle(ProgmanGroupsItem));
    const DdeConversation conversation(dde, dde.Connect(progman.get(), progman.get()));
    const DdeRequestData answer(dde, dde.Request(conversation.get(), groups.get(), CF_TEXT));
    for (const std::string& name : SplitGroupNames(TextOf(answer.get()))) add(name);
}

}  // namespace

Tfbrowse::Tfbrowse(HWND ownerWindow)
    : TModalForm(ownerWindow, bsDialog),
      il(Own<TImageList>(18, 18)),
      Label1(Add<TLabel>(TControl::Bounds{8, 8, 297, 26})),
      tv(Add<TTreeView>(TControl::Bounds{8, 40, 297, 241})),
      bok(Add<TButton>(TControl::Bounds{147, 289, 75, 25})),
      bc(Add<TButton>(TControl::Bounds{230, 289, 75, 25})) {
    Name = "fbrowse";
    SetCaption("Browse Groups");
    SetClientSize(313, 322);
    CenterOnScreen();
    Label1.SetCaption("Please select a group from the list below.");
    const GdiHandle icon = DrawGroupIcon(il.Width());
    if (icon) il.AddMasked(static_cast<HBITMAP>(icon.get()), GroupIconTransparent);
    tv.SetReadOnly(true);
    tv.SetShowRoot(false);
    tv.SetIndent(23);
    tv.SetSortType(stText);
    tv.SetImages(&il);
    bok.SetCaption("&OK");
    bok.OnClick = [this](TComponent&) { SetModalResult(mrOk); };
    bok.SetDefault(true);
    bc.SetCaption("C&ancel");
    bc.SetCancel(true);
    bc.OnClick = [this](TComponent&) { SetModalResult(mrCancel); };
}

Tfbrowse::~Tfbrowse() = default;

void Tfbrowse::FillGroupList() {
    tv.Clear();
    const AddGroup add = [this](const std::string& name) { tv.Add(nullptr, name, kGroupImage); };
    try {
        const std::string folder = GetProgramsFolder(IsAdmin(), true);
        if (!folder.empty()) {
            AddFolderGroups(folder, add);
        } else {
            AddProgmanGroups(add);
        }
    } catch (...) {
        // Whatever went wrong (no program manager, a refused request), the dialog opens
        // with the groups found so far.
    }
}

bool Tfbrowse::Execute(std::string& group) {
    FillGroupList();
    if (ShowModal() != mrOk) return false;
    const HTREEITEM selected = tv.Selected();
    if (!selected) return false;
    group = tv.Text(selected);
    return true;
}

}  // namespace pelorin
