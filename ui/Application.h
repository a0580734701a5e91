// The application-wide message services of the window layer: letting pending messages run,
// routing dialog keys (Escape, Tab) to forms, and telling the application to end.
#pragma once

#include <windows.h>

namespace pelorin {

// Handles the dialog keys of a message aimed at a form or its controls. True when consumed.
// Message loops call it before TranslateMessage/DispatchMessage.
bool TranslateFormMessage(MSG& msg);

// Runs every pending message of this thread and returns. A quit request is left for the
// message loop to see.
void ProcessMessages();

// Tells the application to end: its message loop stops at the next turn.
void TerminateApplication();

}  // namespace pelorin
