// TAboutForm: the layout of the About box and its stored credits; "&Close" closes it with the
// result OK. It has no behaviour of its own.
#include "setup/wizard/About.h"

#include "setup/wizard/Pictures.h"
#include "setup/wizard/WizardTexts.h"

namespace pelorin {

namespace {

using Bounds = TControl::Bounds;

// A bitmap of the program's resources at its own size.
class TAboutPicture : public TControl {
public:
    TAboutPicture(TForm& parent, const Bounds& bounds) : TControl(parent, "STATIC", SS_BITMAP, bounds) {
        picture_.reset(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kAboutPictureId), IMAGE_BITMAP, 0, 0,
                                    LR_DEFAULTCOLOR));
        ::SendMessageA(Handle(), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
    }

private:
    GdiHandle picture_;
};

// The separator above the button: an etched line.
class TSeparator : public TControl {
public:
    TSeparator(TForm& parent, const Bounds& bounds) : TControl(parent, "STATIC", SS_ETCHEDHORZ, bounds) {}
};

}  // namespace

TAboutForm::TAboutForm(HWND ownerWindow)
    : TForm(ownerWindow, bsDialog),
      Credits(Add<TKRichEdit>(Bounds{8, 8, 188, 108})),
      Line(Add<TLabel>(Bounds{8, 122, 275, 13})),
      CloseButton(Add<TButton>(Bounds{208, 146, 75, 25})) {
    Add<TAboutPicture>(Bounds{204, 8, 79, 94});
    Add<TSeparator>(Bounds{8, 140, 275, 2});
    SetClientSize(291, 178);
    CenterOnScreen();
    SetCaption("About Pelorin Wizard");
    Credits.SetBorderStyle(bsNone);
    Credits.SetColor(::GetSysColor(COLOR_BTNFACE));
    Credits.SetReadOnly(true);
    Credits.SetEnabled(false);
    Credits.SetRichLines(AboutText());
    Line.SetCaption("Pelorin Wizard, version 1.0");
    CloseButton.SetCaption("&Close");
    CloseButton.SetDefault(true);
    CloseButton.SetCancel(true);
    CloseButton.OnClick = [this](TComponent&) { Close(); };
}

TAboutForm::~TAboutForm() = default;

}  // namespace pelorin
