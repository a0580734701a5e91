// UnattendedAnswer: OK for information and errors, Abort for Abort/Retry/Ignore (a retry that
// nobody can fix would spin forever), Yes for the questions that keep or go on, No to overwrite.
#include "setup/UnattendedAnswer.h"

namespace pelorin {

// The tail of the question a file with the "confirm overwrite" flag asks about an existing file.
constexpr const char* kOverwriteQuestion = "Would you like Setup Wizard to overwrite it?";

int UnattendedAnswer(const std::string& text, UINT buttons) {
    switch (buttons & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE: return IDABORT;
    case MB_RETRYCANCEL:
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        // Yes keeps a newer existing file, installs into an existing folder, goes on with too
        // little free space (the copy then fails and rolls back) and confirms a Cancel press.
        return text.find(kOverwriteQuestion) != std::string::npos ? IDNO : IDYES;
    default: return IDOK;
    }
}

const char* ButtonName(int code) {
    switch (code) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return "none";
    }
}

}  // namespace pelorin
