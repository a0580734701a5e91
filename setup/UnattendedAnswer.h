// The answers the silent modes give in place of a person: one rule per kind of question,
// chosen for safety (retry loops end, newer and existing files stay, advisory questions go on).
#pragma once

#include <windows.h>

#include <string>

namespace pelorin {

// The button code (IDOK, IDYES, IDABORT, ...) that an unattended run answers to a box with this
// text and these MB_ button flags. docs/unattended.md lists every box with its answer.
int UnattendedAnswer(const std::string& text, UINT buttons);

// "OK", "Yes", "Abort", ... for the log.
const char* ButtonName(int code);

}  // namespace pelorin
