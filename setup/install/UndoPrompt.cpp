// The replay's message boxes: the error report and the shared-file question, both without
// an owner window, as the uninstaller runs without one.
#include <windows.h>

#include "setup/CmnFunc2.h"
#include "setup/install/Undo.h"

namespace pelorin {

void TMessageBoxUndoPrompt::ShowError(const std::string& message) {
    ::MessageBoxA(nullptr, message.c_str(), "Ferrow Wizard", MB_ICONERROR | MB_OK);
}

bool TMessageBoxUndoPrompt::ConfirmRemoveSharedFile(const std::string& path) {
    // clang-format off
    const std::string text = StringReplaceAll("Ferrow Wizard has found that the following shared file is no longer in use by any programs. Would you like to remove this shared file?\r\n\r\n%s\r\n\r\nIf any programs are still using this file and it is removed, those programs may not function properly. If you are unsure, choose No. Leaving the file on your system will not cause any harm.", "%s", path);
    // clang-format on
    return ::MessageBoxA(nullptr, text.c_str(), "Shared file found", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace pelorin
