// The wizard walk: each page is found by its caption among the process's forms, its button
// pressed, and the page left behind before the next one is looked for.
#include "tests/e2e/driver/WizardWalk.h"

#include "tests/e2e/driver/Driver.h"

namespace pelorin::e2e {

namespace {
const char kFormClass[] = "PelorinForm";
}

HWND WaitForPage(DWORD pid, const std::string& caption, double timeoutSeconds) {
    return driver::WaitForWindow({pid, caption, kFormClass, true}, timeoutSeconds);
}

std::string PressOnPage(DWORD pid, const std::string& caption, const std::string& button, double timeoutSeconds) {
    const HWND page = WaitForPage(pid, caption, timeoutSeconds);
    if (!page) return "no page \"" + caption + "\"";
    if (!driver::PressButton(driver::FindControl(page, button)))
        return "cannot press \"" + button + "\" on \"" + caption + "\"";
    return "";
}

std::string WalkToInstall(DWORD pid) {
    for (const auto& [caption, button] : {std::pair<const char*, const char*>{"Welcome", "Next >"},
                                          {"License Agreement", "Yes"},
                                          {"Destination Directory", "Next >"}}) {
        const std::string failure = PressOnPage(pid, caption, button);
        if (!failure.empty()) return failure;
    }
    // The folder of an earlier installation: install there anyway.
    for (int i = 0; i < 20 && !WaitForPage(pid, "Program Icons", 0.25); ++i) {
        const HWND question = driver::WaitForWindow({pid, "Directory Exists", "#32770", true}, 0.25);
        if (question) driver::PressButton(driver::FindControl(question, "Yes"));
    }
    std::string failure = PressOnPage(pid, "Program Icons", "Next >");
    if (failure.empty()) failure = PressOnPage(pid, "Ready", "Install");
    return failure;
}

std::string FinishWizard(DWORD pid, double timeoutSeconds) {
    return PressOnPage(pid, "Setup successful", "Finish", timeoutSeconds);
}

}  // namespace pelorin::e2e
