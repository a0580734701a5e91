// WizardPage: the pages of the setup wizard's notebook, Welcome to "Setup successful". The
// numbers are the notebook's page indexes.
#pragma once

namespace pelorin {

enum class WizardPage {
    Welcome = 0,
    License = 1,
    Destination = 2,
    Icons = 3,
    Ready = 4,
    Finished = 5,  // "Setup successful", shown after the installation
};

constexpr int kWizardPageCount = 6;

constexpr int PageIndex(WizardPage page) { return static_cast<int>(page); }

// The page one step further on, or one step back.
constexpr WizardPage PageAfter(WizardPage page) { return static_cast<WizardPage>(PageIndex(page) + 1); }
constexpr WizardPage PageBefore(WizardPage page) { return static_cast<WizardPage>(PageIndex(page) - 1); }

}  // namespace pelorin
