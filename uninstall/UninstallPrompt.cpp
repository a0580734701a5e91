// The uninstaller's message boxes: no owner window (it has none), caption "Ferrow Wizard".
#include "uninstall/UninstallPrompt.h"

#include <windows.h>

#include "setup/CmnFunc2.h"

namespace pelorin {

bool TMessageBoxUninstallPrompt::ConfirmUninstall(const std::string& title) {
    const std::string text =
        StringReplaceAll("Are you sure you want to completely remove %s and all of its components?", "%s", title);
    return ::MessageBoxA(nullptr, text.c_str(), "Ferrow Wizard", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TMessageBoxUninstallPrompt::ShowInformation(const std::string& text) {
    ::MessageBoxA(nullptr, text.c_str(), "Ferrow Wizard", MB_OK | MB_ICONINFORMATION);
}

void TMessageBoxUninstallPrompt::ShowProblem(const std::string& text) {
    ::MessageBoxA(nullptr, text.c_str(), "Ferrow Wizard", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace pelorin
