// TAboutForm: the About box of the setup program, shown modally from the background window's
// system menu: picture, credits, a line of text and a Close button.
#pragma once

#include <windows.h>

#include "components/KRichEdit.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace pelorin {

class TAboutForm : public TForm {
public:
    explicit TAboutForm(HWND ownerWindow = nullptr);
    ~TAboutForm() override;

    TKRichEdit& Credits;
    TLabel& Line;
    TButton& CloseButton;
};

}  // namespace pelorin
