// TNotebook: a stack of pages in one rectangle of a form, one page shown at a time.
// Page controls are children of the form placed relative to the notebook's corner.
#pragma once

#include <utility>
#include <vector>

#include "ui/Control.h"
#include "ui/Form.h"

namespace pelorin {

class TNotebook : public TComponent {
public:
    // A notebook of pageCount pages at bounds (in the form's client coordinates); page 0 shows.
    TNotebook(TForm& form, const TControl::Bounds& bounds, int pageCount);

    const TControl::Bounds& GetBounds() const { return bounds_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }

    // The page shown. Out-of-range values are ignored.
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int index);

    // Creates a control owned by the form on a page; bounds are relative to the notebook.
    template <typename T, typename... Args>
    T& Add(int page, const TControl::Bounds& bounds, Args&&... args) {
        T& control = form_.Add<T>(Place(bounds), std::forward<Args>(args)...);
        Put(page, control);
        return control;
    }

    // Puts an existing control of the form on a page (hidden unless that page shows).
    void Put(int page, TControl& control);
    // True when the control belongs to the page shown (or to no page of this notebook).
    bool Showing(const TControl& control) const;

private:
    TControl::Bounds Place(const TControl::Bounds& bounds) const;
    void ShowPage(int index, bool show);

    TForm& form_;
    TControl::Bounds bounds_;
    std::vector<std::vector<TControl*>> pages_;
    int pageIndex_ = 0;
};

}  // namespace pelorin
