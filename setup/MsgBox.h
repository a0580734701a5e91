// The setup program's message boxes: MsgBox with its four kinds, the standard error
// box and the application title they use.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin {

enum MsgBoxKind {
    mbInformation = 0,  // information icon, caption "Information"
    mbConfirm = 1,      // question mark, caption "Confirm"
    mbWarning = 2,      // exclamation, caption "Error"
    mbError = 3,        // stop icon, caption "Error"
};

// Shows text with the caption (the kind's caption when empty), the kind's icon and the
// platform button flags (MB_OK, MB_YESNO | MB_DEFBUTTON2, ...). The program's other
// windows are disabled and stay-on-top windows lowered while the box is open. In the silent
// modes the box is not shown: the answer is the unattended one (UnattendedAnswer).
// Returns the platform's button code (IDOK, IDYES, ...), 0 when the box failed.
int MsgBox(const std::string& text, const std::string& caption, MsgBoxKind kind, UINT buttons);

// A box with the platform's flags (buttons and icon) and no kind, shown and answered as MsgBox
// does: in an unattended run not shown but answered by its rule; logged either way.
int AnswerBox(const std::string& text, const std::string& caption, UINT flags);

// The caption MsgBox uses for a kind when none is given.
const char* MsgBoxCaption(MsgBoxKind kind);

// The application's title; "Setup Wizard" once the program has started.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// The box for errors that reach a user action without a handler of their own: the
// message with "." appended unless it ends with one, captioned with the application
// title, stop icon and OK, other windows disabled meanwhile.
void ShowErrorBox(const std::string& message);

}  // namespace pelorin
