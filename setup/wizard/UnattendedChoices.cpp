// ChooseUnattendedFolders: CheckDestination and CheckGroup, as pages 2 and 3 run them, on a site
// whose answers are kept rather than shown in an edit.
#include "setup/wizard/UnattendedChoices.h"

#include "setup/Globals.h"
#include "setup/MsgBox.h"
#include "setup/wizard/MachineDrives.h"
#include "setup/wizard/WizardRules.h"

namespace pelorin {
namespace {

class TUnattendedSite : public IAnswerSite {
public:
    void SetAnswer(const std::string& text) override { answer_ = text; }
    void Warning(const std::string& text) override { MsgBox(text, "", mbWarning, MB_OK); }
    bool Question(const std::string& text, const std::string& caption, bool defaultNo) override {
        return MsgBox(text, caption, mbConfirm, MB_YESNO | (defaultNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1)) == IDYES;
    }
    const std::string& Answer() const { return answer_; }

private:
    std::string answer_;
};

}  // namespace

bool ChooseUnattendedFolders() {
    SetupGlobals& globals = Globals();
    const SetupOptions& options = globals.Options;
    TUnattendedSite folder;
    if (!CheckDestination(options.Dir.value_or(globals.ProgramFilesDir + globals.Setup.Header.DefaultDirName),
                          globals.Setup.TotalSize, MachineDrives(), folder))
        return false;
    globals.AppDir = folder.Answer();
    TUnattendedSite group;
    if (!CheckGroup(options.Group.value_or(globals.Setup.Header.DefaultGroupName), group)) return false;
    globals.GroupName = group.Answer();
    return true;
}

}  // namespace pelorin
