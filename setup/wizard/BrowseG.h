// Tfbrowse: the "Browse Groups" dialog; lists the program groups that exist on this machine
// so that the wizard can put its icons into one of them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/ModalForm.h"

namespace pelorin {

class TButton;
class TImageList;
class TLabel;
class TTreeView;

class Tfbrowse : public TModalForm {
public:
    // Created once, hidden; it lives until the program ends.
    explicit Tfbrowse(HWND ownerWindow = nullptr);
    ~Tfbrowse() override;

    // Fills the list with the groups found now, shows the dialog modally and, when it closes
    // with OK on a selected entry, puts that entry's text into group. True in that case only;
    // otherwise group is left as it was.
    bool Execute(std::string& group);

    // Empties the list and adds the groups of the Start Menu's programs folder or, where
    // there is none, those the program manager names. A failure ends the fill silently with
    // the entries added so far.
    void FillGroupList();

    // The image list first: the tree view draws from it until the tree view is gone.
    TImageList& il;
    TLabel& Label1;
    TTreeView& tv;
    TButton& bok;
    TButton& bc;
};

}  // namespace pelorin
