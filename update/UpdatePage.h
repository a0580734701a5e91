// UpdatePage: the pages of the update wizard, in the order the wizard walks them. The numbers
// are the notebook's page indexes.
#pragma once

namespace pelorin {

enum class UpdatePage {
    Welcome = 0,
    License = 1,
    Directory = 2,
    Summary = 3,
    Updating = 4,  // entered only by starting the update run
    Complete = 5,
};

constexpr int kUpdatePageCount = 6;

constexpr int PageIndex(UpdatePage page) { return static_cast<int>(page); }

// The page one step further on, or one step back.
constexpr UpdatePage PageAfter(UpdatePage page) { return static_cast<UpdatePage>(PageIndex(page) + 1); }
constexpr UpdatePage PageBefore(UpdatePage page) { return static_cast<UpdatePage>(PageIndex(page) - 1); }

}  // namespace pelorin
