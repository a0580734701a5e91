// What the uninstaller asks and tells the user. Tests answer through this interface;
// the program uses TMessageBoxUninstallPrompt, message boxes captioned "Ferrow Wizard".
#pragma once

#include <string>

#include "setup/install/Undo.h"

namespace pelorin {

class IUninstallPrompt : public IUndoPrompt {
public:
    // True when the user wants the application removed.
    virtual bool ConfirmUninstall(const std::string& title) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    virtual void ShowProblem(const std::string& text) = 0;
};

class TMessageBoxUninstallPrompt : public IUninstallPrompt {
public:
    void ShowError(const std::string& message) override { boxes_.ShowError(message); }
    bool ConfirmRemoveSharedFile(const std::string& path) override { return boxes_.ConfirmRemoveSharedFile(path); }
    bool ConfirmUninstall(const std::string& title) override;
    void ShowInformation(const std::string& text) override;
    void ShowProblem(const std::string& text) override;

private:
    TMessageBoxUndoPrompt boxes_;
};

}  // namespace pelorin
