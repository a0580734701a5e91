// The uninstaller's questions and messages as a run sees them: asked in boxes or answered by the
// unattended defaults, and each one written to the run log with its answer and who gave it.
#pragma once

#include <string>

#include "core/RunLog.h"
#include "uninstall/UninstallPrompt.h"

namespace pelorin {

class TLoggedUninstallPrompt : public IUninstallPrompt {
public:
    // boxes: the user's prompt; null for an unattended run, which removes the application, keeps
    // shared files no longer in use unless removeShared, and shows nothing.
    TLoggedUninstallPrompt(IUninstallPrompt* boxes, bool removeShared, TRunLog& log)
        : boxes_(boxes), removeShared_(removeShared), log_(log) {}

    void ShowError(const std::string& message) override;
    bool ConfirmRemoveSharedFile(const std::string& path) override;
    bool ConfirmUninstall(const std::string& title) override;
    void ShowInformation(const std::string& text) override;
    void ShowProblem(const std::string& text) override;

private:
    bool Answered(const std::string& question, bool answer);
    void Shown(const std::string& kind, const std::string& text);

    IUninstallPrompt* boxes_;
    bool removeShared_;
    TRunLog& log_;
};

}  // namespace pelorin
