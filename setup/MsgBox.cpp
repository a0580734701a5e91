// The message boxes of the setup program: while one is open the program's other
// windows are disabled and its stay-on-top windows step down behind it.
#include "setup/MsgBox.h"

#include "platform/win/TaskWindows.h"
#include "setup/Globals.h"
#include "setup/UnattendedAnswer.h"

namespace pelorin {

namespace {

std::string& TitleStorage() {
    static std::string title;
    return title;
}

int ShowBox(const std::string& text, const std::string& caption, UINT flags) {
    const TaskWindowsDisabler disabler;
    return ::MessageBoxA(disabler.Active(), text.c_str(), caption.c_str(), flags);
}

UINT KindIcon(MsgBoxKind kind) {
    switch (kind) {
    case mbInformation: return MB_ICONINFORMATION;
    case mbConfirm: return MB_ICONQUESTION;
    case mbWarning: return MB_ICONEXCLAMATION;
    case mbError: return MB_ICONSTOP;
    }
    return 0;
}

}  // namespace

const char* MsgBoxCaption(MsgBoxKind kind) {
    switch (kind) {
    case mbInformation: return "Information";
    case mbConfirm: return "Confirm";
    case mbWarning:
    case mbError: return "Error";
    }
    return "";
}

// Every box goes through here: an unattended run answers it by its rule without showing it, and
// the log gets the box, its answer and who gave it.
int AnswerBox(const std::string& text, const std::string& caption, UINT flags) {
    const bool unattended = Globals().Options.Unattended();
    const int answer = unattended ? UnattendedAnswer(text, flags) : ShowBox(text, caption, flags);
    const bool question = (flags & MB_TYPEMASK) != MB_OK;
    SetupLog().Line((question ? "question \"" : "message \"") + caption + "\": " + text + "\n-> " + ButtonName(answer) +
                    (unattended ? " (unattended default)" : " (user)"));
    return answer;
}

int MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons) {
    return AnswerBox(text, caption.empty() ? MsgBoxCaption(kind) : caption, buttons | KindIcon(kind));
}

void SetApplicationTitle(const std::string& title) { TitleStorage() = title; }

const std::string& ApplicationTitle() { return TitleStorage(); }

void ShowErrorBox(const std::string& message) {
    const bool endsWithStop = !message.empty() && message.back() == '.';
    AnswerBox(endsWithStop ? message : message + ".", ApplicationTitle(), MB_ICONSTOP | MB_OK);
}

}  // namespace pelorin
