// The destination folder and program group of a silent run: the command line's or the defaults,
// put through the same checks and messages as the wizard's pages, without a page.
#pragma once

namespace pelorin {

// Sets Globals().AppDir and GroupName as the pages would leave them. The checks' messages
// and questions go through MsgBox, so the silent modes log them and answer them by rule.
// False when a check refuses the folder or the group.
bool ChooseUnattendedFolders();

}  // namespace pelorin
