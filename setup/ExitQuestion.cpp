// AskExitSetup: the confirmation box "Exit Setup Wizard" and its answer.
// The text stays one literal, as the user reads it.
#include "setup/ExitQuestion.h"

namespace pelorin {

bool AskExitSetup(const MsgBoxFunction& box) {
    return box("Setup is not complete. If you quit now, the program will not be installed.\r\n\r\nDo you wish to exit Setup Wizard?",
               "Exit Setup Wizard", mbConfirm, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

}  // namespace pelorin
