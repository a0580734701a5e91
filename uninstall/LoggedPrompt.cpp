// TLoggedUninstallPrompt: passes each question to the user's boxes or takes its unattended
// answer, and logs question, answer and its source; messages are logged whether shown or not.
#include "uninstall/LoggedPrompt.h"

namespace pelorin {

bool TLoggedUninstallPrompt::Answered(const std::string& question, bool answer) {
    const char* const who = boxes_ ? "user" : "unattended default";
    log_.Line("Question: " + question + "\nAnswer: " + (answer ? "Yes" : "No") + " (" + who + ")");
    return answer;
}

void TLoggedUninstallPrompt::Shown(const std::string& kind, const std::string& text) {
    log_.Line(kind + (boxes_ ? " shown: " : " (not shown, unattended): ") + text);
}

bool TLoggedUninstallPrompt::ConfirmUninstall(const std::string& title) {
    const std::string question = "Are you sure you want to completely remove " + title + " and all of its components?";
    return Answered(question, boxes_ ? boxes_->ConfirmUninstall(title) : true);
}

bool TLoggedUninstallPrompt::ConfirmRemoveSharedFile(const std::string& path) {
    const std::string question = "Shared file found: " + path + " is no longer in use by any programs. Remove it?";
    return Answered(question, boxes_ ? boxes_->ConfirmRemoveSharedFile(path) : removeShared_);
}

void TLoggedUninstallPrompt::ShowError(const std::string& message) {
    Shown("Error", message);
    if (boxes_) boxes_->ShowError(message);
}

void TLoggedUninstallPrompt::ShowInformation(const std::string& text) {
    Shown("Report", text);
    if (boxes_) boxes_->ShowInformation(text);
}

void TLoggedUninstallPrompt::ShowProblem(const std::string& text) {
    Shown("Problem", text);
    if (boxes_) boxes_->ShowProblem(text);
}

}  // namespace pelorin
