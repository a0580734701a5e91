// TNotebook: switching pages hides the controls of the old page and shows those of the new
// one that are visible in their own right; a hidden control stays hidden on its page.
#include "ui/Notebook.h"

#include <algorithm>

namespace pelorin {

TNotebook::TNotebook(TForm& form, const TControl::Bounds& bounds, int pageCount)
    : form_(form), bounds_(bounds), pages_(static_cast<std::size_t>(pageCount > 0 ? pageCount : 1)) {}

TControl::Bounds TNotebook::Place(const TControl::Bounds& bounds) const {
    return {bounds_.Left + bounds.Left, bounds_.Top + bounds.Top, bounds.Width, bounds.Height};
}

void TNotebook::Put(int page, TControl& control) {
    if (page < 0 || page >= PageCount()) return;
    pages_[static_cast<std::size_t>(page)].push_back(&control);
    if (page != pageIndex_) ::ShowWindow(control.Handle(), SW_HIDE);
}

bool TNotebook::Showing(const TControl& control) const {
    for (int page = 0; page < PageCount(); ++page) {
        const auto& controls = pages_[static_cast<std::size_t>(page)];
        if (std::find(controls.begin(), controls.end(), &control) != controls.end()) return page == pageIndex_;
    }
    return true;
}

void TNotebook::ShowPage(int index, bool show) {
    for (TControl* control : pages_[static_cast<std::size_t>(index)])
        ::ShowWindow(control->Handle(), show && control->Visible() ? SW_SHOWNA : SW_HIDE);
}

void TNotebook::SetPageIndex(int index) {
    if (index < 0 || index >= PageCount() || index == pageIndex_) return;
    // A focused control about to be hidden would leave the keyboard nowhere.
    const HWND focus = ::GetFocus();
    bool focusLeaves = false;
    for (TControl* control : pages_[static_cast<std::size_t>(pageIndex_)])
        if (control->Handle() == focus) focusLeaves = true;
    ShowPage(index, true);
    ShowPage(pageIndex_, false);
    pageIndex_ = index;
    if (focusLeaves) ::SetFocus(form_.Handle());
}

}  // namespace pelorin
