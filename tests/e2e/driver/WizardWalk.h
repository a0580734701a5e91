// Walking the setup program's wizard from a test: page by page with its buttons, answering the
// folder question, and finishing on the last page.
#pragma once

#include <windows.h>

#include <string>

namespace pelorin::e2e {

// Waits for the wizard of process pid showing the page with that caption; nullptr after
// timeoutSeconds.
HWND WaitForPage(DWORD pid, const std::string& caption, double timeoutSeconds = 30);

// Waits for the page and presses the button with that label ("Next >", "Yes", "Install",
// "Finish", "< Back", "Cancel", "No"). An empty result, or what went wrong.
std::string PressOnPage(DWORD pid, const std::string& caption, const std::string& button, double timeoutSeconds = 30);

// Welcome, License Agreement, Destination Directory (answering "Directory Exists" with Yes),
// Program Icons, Ready and "&Install", with the folder and the group as the wizard proposes.
// An empty result, or the first thing that went wrong.
std::string WalkToInstall(DWORD pid);

// The same walk with folder put into the Destination Directory page's edit (WM_SETTEXT, as the
// page's Browse button fills it, past the limit the edit sets on typing).
std::string WalkToInstall(DWORD pid, const std::string& folder);

// The visible edit of a wizard page; nullptr when it has none.
HWND PageEdit(HWND page);

// Waits for "Setup successful" and presses "&Finish". An empty result, or what went wrong.
std::string FinishWizard(DWORD pid, double timeoutSeconds = 120);

}  // namespace pelorin::e2e
