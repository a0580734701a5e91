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

namespace {

// The walk of WalkToInstall; a non-null folder goes into the destination's edit first.
std::string Walk(DWORD pid, const std::string* folder) {
    for (const auto& [caption, button] :
         {std::pair<const char*, const char*>{"Welcome", "Next >"}, {"License Agreement", "Yes"}}) {
        const std::string failure = PressOnPage(pid, caption, button);
        if (!failure.empty()) return failure;
    }
    if (folder) {
        const HWND page = WaitForPage(pid, "Destination Directory");
        if (!page) return "no page \"Destination Directory\"";
        const HWND edit = PageEdit(page);
        if (!edit || !driver::SetText(edit, *folder)) return "cannot set the folder on \"Destination Directory\"";
    }
    const std::string failure = PressOnPage(pid, "Destination Directory", "Next >");
    if (!failure.empty()) return failure;
    // The folder of an earlier installation: install there anyway.
    for (int i = 0; i < 20 && !WaitForPage(pid, "Program Icons", 0.25); ++i) {
        const HWND box = driver::WaitForWindow({pid, "", "#32770", true}, 0.25);
        if (!box) continue;
        if (driver::DescribeWindow(box).caption == "Directory Exists") {
            driver::PressButton(driver::FindControl(box, "Yes"));
        } else if (folder) {
            // A typed folder that the page refuses: its box is what went wrong.
            const driver::MessageBoxInfo refusal = driver::ReadMessageBox(box);
            return "\"" + refusal.caption + "\": " + refusal.text;
        }
    }
    std::string next = PressOnPage(pid, "Program Icons", "Next >");
    if (next.empty()) next = PressOnPage(pid, "Ready", "Install");
    return next;
}

}  // namespace

std::string WalkToInstall(DWORD pid) { return Walk(pid, nullptr); }

std::string WalkToInstall(DWORD pid, const std::string& folder) { return Walk(pid, &folder); }

HWND PageEdit(HWND page) {
    for (const driver::ControlInfo& control : driver::ListControls(page))
        if (control.visible && ::lstrcmpiA(control.className.c_str(), "Edit") == 0) return control.handle;
    return nullptr;
}

std::string FinishWizard(DWORD pid, double timeoutSeconds) {
    return PressOnPage(pid, "Setup successful", "Finish", timeoutSeconds);
}

}  // namespace pelorin::e2e
